// A clipboard manager for the tests, on the display that DISPLAY names: it
// owns the CLIPBOARD_MANAGER selection and answers one SAVE_TARGETS request,
// the request that a program sends as it ends, by reading the clipboard as
// UTF8_STRING. What it read goes to a file, and the request is answered as
// done. Its status is 0 once that is over; any X error, a refused or unread
// clipboard, or no request within the given seconds ends it with status 1.
//   clipboard_manager <seconds> <ready-file> <received-file>
// The ready file is made once the selection is owned: a program that ends
// after that finds the manager.
#include <poll.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace {

using Clock = std::chrono::steady_clock;

// What xcb hands back is the caller's to free.
struct Free {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Reply = std::unique_ptr<T, Free>;

[[noreturn]] void Fail(const std::string& message) {
  std::fprintf(stderr, "clipboard_manager: %s\n", message.c_str());
  std::exit(1);
}

class Manager {
 public:
  explicit Manager(Clock::time_point deadline) : deadline_(deadline) {
    connection_ = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection_)) Fail("cannot connect to the X server");
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    window_ = xcb_generate_id(connection_);
    Check(xcb_create_window_checked(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
                                    1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0,
                                    nullptr),
          "creating its window");
    manager_ = Atom("CLIPBOARD_MANAGER");
    saveTargets_ = Atom("SAVE_TARGETS");
    clipboard_ = Atom("CLIPBOARD");
    utf8_ = Atom("UTF8_STRING");
    incr_ = Atom("INCR");
    null_ = Atom("NULL");
    saved_ = Atom("KESTROVA_SAVED");
  }
  ~Manager() { xcb_disconnect(connection_); }
  Manager(const Manager&) = delete;
  Manager& operator=(const Manager&) = delete;

  void Own() {
    Check(xcb_set_selection_owner_checked(connection_, window_, manager_, XCB_CURRENT_TIME),
          "taking CLIPBOARD_MANAGER");
    Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, manager_), nullptr));
    if (!owner || owner->owner != window_) Fail("CLIPBOARD_MANAGER is owned by another client");
  }

  // Waits for the SAVE_TARGETS request and answers it; returns what the
  // clipboard held.
  std::string Serve() {
    for (;;) {
      Reply<xcb_generic_event_t> event = Next();
      const std::uint8_t type = event->response_type & 0x7f;
      if (type == XCB_SELECTION_CLEAR) Fail("another client took CLIPBOARD_MANAGER");
      if (type != XCB_SELECTION_REQUEST) continue;
      auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event.get());
      if (request->selection != manager_) continue;
      if (request->target != saveTargets_) {
        Answer(*request, XCB_ATOM_NONE);
        continue;
      }
      // A client of the old conventions names no property: the target stands for it.
      const xcb_atom_t property =
          request->property != XCB_ATOM_NONE ? request->property : request->target;
      std::string text = ReadClipboard(*request);
      // A side-effect target answers with an empty property of type NULL.
      Check(xcb_change_property_checked(connection_, XCB_PROP_MODE_REPLACE, request->requestor,
                                        property, null_, 32, 0, nullptr),
            "answering SAVE_TARGETS");
      Answer(*request, property);
      return text;
    }
  }

 private:
  xcb_atom_t Atom(std::string_view name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    if (!reply) Fail("cannot intern the atom " + std::string(name));
    return reply->atom;
  }

  void Check(xcb_void_cookie_t cookie, const char* what) {
    Reply<xcb_generic_error_t> error(xcb_request_check(connection_, cookie));
    if (error) Fail(std::string("X error ") + std::to_string(error->error_code) + " " + what);
  }

  // The next event, before the deadline; an X error or a lost connection ends
  // the manager.
  Reply<xcb_generic_event_t> Next() {
    for (;;) {
      Reply<xcb_generic_event_t> event(xcb_poll_for_event(connection_));
      if (xcb_connection_has_error(connection_)) Fail("the connection to the X server broke");
      if (event) {
        if (event->response_type == 0) {
          const auto* error = reinterpret_cast<xcb_generic_error_t*>(event.get());
          Fail("X error " + std::to_string(error->error_code) + " in request " +
               std::to_string(error->major_code));
        }
        return event;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
      if (left <= 0) Fail("no program asked it to keep the clipboard in time");
      pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
      poll(&fd, 1, static_cast<int>(left));
    }
  }

  // Converts the clipboard to UTF8_STRING on the manager's own window and
  // takes the text from there.
  std::string ReadClipboard(const xcb_selection_request_event_t& request) {
    Check(xcb_convert_selection_checked(connection_, window_, clipboard_, utf8_, saved_,
                                        request.time),
          "asking for the clipboard");
    for (;;) {
      Reply<xcb_generic_event_t> event = Next();
      if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) continue;
      const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event.get());
      if (notify->requestor != window_ || notify->selection != clipboard_) continue;
      if (notify->property == XCB_ATOM_NONE) {
        Answer(request, XCB_ATOM_NONE);
        Fail("the clipboard's owner refused it as UTF8_STRING");
      }
      break;
    }
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 1, window_, saved_, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 16),
        nullptr));
    if (!reply) Fail("cannot read the clipboard's text");
    if (reply->type == incr_) Fail("the clipboard came in parts (INCR), which it does not take");
    if (reply->type != utf8_ || reply->format != 8) Fail("the clipboard's text is not UTF8_STRING");
    if (reply->bytes_after != 0) Fail("the clipboard's text is longer than it reads");
    return {static_cast<const char*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))};
  }

  void Answer(const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = property;
    Check(xcb_send_event_checked(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                                 reinterpret_cast<const char*>(&notify)),
          "answering a request");
  }

  Clock::time_point deadline_;
  xcb_connection_t* connection_ = nullptr;
  xcb_window_t window_ = 0;
  xcb_atom_t manager_ = 0, saveTargets_ = 0, clipboard_ = 0, utf8_ = 0, incr_ = 0, null_ = 0;
  xcb_atom_t saved_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) Fail("usage: clipboard_manager <seconds> <ready-file> <received-file>");
  const int seconds = std::atoi(argv[1]);
  if (seconds <= 0) Fail("the seconds must be a positive whole number");
  Manager manager(Clock::now() + std::chrono::seconds(seconds));
  manager.Own();
  if (!std::ofstream(argv[2])) Fail(std::string("cannot make ") + argv[2]);
  const std::string text = manager.Serve();
  std::ofstream received(argv[3], std::ios::binary);
  if (!(received << text) || !received.flush()) Fail(std::string("cannot write ") + argv[3]);
  return 0;
}
