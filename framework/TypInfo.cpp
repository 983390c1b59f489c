#include "framework/TypInfo.h"
