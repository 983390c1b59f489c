#pragma once
// Published-property type information (filled in by the form-description work).
