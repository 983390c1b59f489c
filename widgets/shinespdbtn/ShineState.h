#pragma once
// The shine button's drawing state and the one function that moves it.
namespace hx {

// Which colour set, frame, font and state image a paint uses.
enum TShineState : unsigned char { ssPressed, ssDown, ssActive, ssUp, ssDisabled };

// What happens to the button. Hover events are the ones whose checks passed.
enum class TShineEvent : unsigned char {
    Enter,            // the pointer came over the button
    Leave,            // the pointer left it
    Press,            // a left press on the enabled button
    TrackInside,      // a tracked press moved inside
    TrackOutside,     // a tracked press moved outside
    Latch,            // Down was set (by the property, a click or the accelerator)
    GroupRaise,       // another member of the group went down and raised this one
    Disable,          // the button was disabled, or is painted while disabled
    Enable,           // the button was enabled again
    ReleaseUngrouped, // a tracked press ended on a button outside any group
    ReleaseOutside,   // a tracked press of a grouped button ended outside it
    HookBegin,        // Click with ClickDownHook: the handler sees the button pressed
    HookEnd,          // and afterwards the state from before comes back
};

// What a transition may read besides the state: the latch after the event, and for
// HookEnd the state before the hook.
struct TShineFacts {
    bool Down = false;
    TShineState Before = ssUp;
};

// The state after event:
//   Enter             ssUp -> ssActive, ssDown -> ssPressed, others stay
//   Leave             ssActive -> ssUp, ssPressed -> ssDown, others stay
//   Press             -> ssPressed
//   TrackInside       -> ssPressed
//   TrackOutside      -> ssDown if Down, else ssUp
//   Latch             -> ssDown if Down, else ssUp
//   GroupRaise        -> ssUp
//   Disable           -> ssDisabled
//   Enable            -> ssUp (the hover, if any, follows as Enter)
//   ReleaseUngrouped  -> ssUp
//   ReleaseOutside    -> ssPressed if Down, else ssActive
//   HookBegin         -> ssPressed
//   HookEnd           -> Before
TShineState ShineTransition(TShineState state, TShineEvent event, const TShineFacts& facts);

} // namespace hx
