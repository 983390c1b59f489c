// A stand-in for the desktop's clipboard manager, for the end-to-end tests: it owns the
// CLIPBOARD_MANAGER selection and, when a program asks it to keep the clipboard (a
// SAVE_TARGETS conversion), fetches the clipboard's text as UTF8_STRING from its owner,
// prints "SAVE_TARGETS <text>" on standard output and answers the request. It prints "ready"
// once it owns the selection and ends after one request, or after the given number of
// seconds (default 30).
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using Owned = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Waits for the next event, giving up at the deadline (the connection's fd is polled so
// that a program that never answers does not hold the test).
Owned<xcb_generic_event_t> NextEvent(xcb_connection_t* c, std::time_t deadline)
{
    for (;;) {
        if (xcb_generic_event_t* e = xcb_poll_for_event(c))
            return Owned<xcb_generic_event_t>(e);
        if (xcb_connection_has_error(c) || std::time(nullptr) > deadline)
            return nullptr;
        struct timespec pause {0, 10'000'000};
        nanosleep(&pause, nullptr);
    }
}

// Asks the clipboard's owner for its text, into a property of our window.
std::string FetchClipboardText(xcb_connection_t* c, xcb_window_t self, std::time_t deadline)
{
    const xcb_atom_t clipboard = Atom(c, "CLIPBOARD");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    const xcb_atom_t into = Atom(c, "HX_SAVED_CLIPBOARD");
    xcb_convert_selection(c, self, clipboard, utf8, into, XCB_CURRENT_TIME);
    xcb_flush(c);
    while (Owned<xcb_generic_event_t> e = NextEvent(c, deadline)) {
        if ((e->response_type & 0x7F) != XCB_SELECTION_NOTIFY)
            continue;
        const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(e.get());
        if (notify->property == XCB_ATOM_NONE)
            return "(refused)";
        const Owned<xcb_get_property_reply_t> value(xcb_get_property_reply(
            c, xcb_get_property(c, 1, self, into, XCB_ATOM_ANY, 0, 1024), nullptr));
        if (!value)
            return "(unreadable)";
        return std::string(static_cast<const char*>(xcb_get_property_value(value.get())),
                           static_cast<std::size_t>(xcb_get_property_value_length(value.get())));
    }
    return "(no answer)";
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const std::time_t deadline = std::time(nullptr) + seconds;
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 2;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t self = xcb_generate_id(c);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, self, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      screen->root_visual, XCB_CW_EVENT_MASK, &events);
    const xcb_atom_t manager = Atom(c, "CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = Atom(c, "SAVE_TARGETS");
    xcb_set_selection_owner(c, self, manager, XCB_CURRENT_TIME);
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, manager), nullptr));
    if (!owner || owner->owner != self) {
        std::fprintf(stderr, "cannot own CLIPBOARD_MANAGER\n");
        return 2;
    }
    std::printf("ready\n");
    std::fflush(stdout);

    while (Owned<xcb_generic_event_t> e = NextEvent(c, deadline)) {
        if ((e->response_type & 0x7F) != XCB_SELECTION_REQUEST)
            continue;
        const xcb_selection_request_event_t request = *reinterpret_cast<xcb_selection_request_event_t*>(e.get());
        if (request.selection != manager)
            continue;
        std::string text = request.target == saveTargets ? FetchClipboardText(c, self, deadline) : "";
        // The answer: the property named in the request means the conversion was done.
        xcb_selection_notify_event_t notify {};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = request.target == saveTargets ? request.property : xcb_atom_t{XCB_ATOM_NONE};
        xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&notify));
        xcb_flush(c);
        if (request.target == saveTargets) {
            std::printf("SAVE_TARGETS %s\n", text.c_str());
            std::fflush(stdout);
            break;
        }
    }
    xcb_disconnect(c);
    return 0;
}
