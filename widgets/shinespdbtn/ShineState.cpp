#include "widgets/shinespdbtn/ShineState.h"

namespace hx {

TShineState ShineTransition(TShineState state, TShineEvent event, const TShineFacts& facts)
{
    switch (event) {
    case TShineEvent::Enter:
        return state == ssUp ? ssActive : state == ssDown ? ssPressed : state;
    case TShineEvent::Leave:
        return state == ssActive ? ssUp : state == ssPressed ? ssDown : state;
    case TShineEvent::Press:
    case TShineEvent::TrackInside:
    case TShineEvent::HookBegin:
        return ssPressed;
    case TShineEvent::TrackOutside:
    case TShineEvent::Latch:
        return facts.Down ? ssDown : ssUp;
    case TShineEvent::GroupRaise:
    case TShineEvent::Enable:
    case TShineEvent::ReleaseUngrouped:
        return ssUp;
    case TShineEvent::Disable:
        return ssDisabled;
    case TShineEvent::ReleaseOutside:
        return facts.Down ? ssPressed : ssActive;
    case TShineEvent::HookEnd:
        return facts.Before;
    }
    return state;
}

} // namespace hx
