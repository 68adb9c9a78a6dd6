// first-paint-watch: starts a program on the X display in DISPLAY and prints,
// in milliseconds from the moment it was started, when its first top-level
// window was mapped and when the program first drew into a mapped top-level
// window; then ends the program.
//
//   first-paint-watch [--timeout-ms N] -- COMMAND [ARG...]
//   prints: "map MS paint MS"
//
// It watches from outside, so any program can be measured the same way:
// every new child of the root window gets a DAMAGE object before the program
// can map or draw into it, and the first damage report of a mapped window is
// the first paint. Meant for a display without a window manager, where the
// program's top-level windows are children of the root.

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kName = "first-paint-watch";

struct Options {
    int timeoutMs = 10000;
    std::vector<char*> command; // null-terminated for execvp
};

std::optional<Options> parse(int argc, char* argv[])
{
    Options options;
    int i = 1;
    for (; i < argc && std::string_view(argv[i]) != "--"; ++i) {
        if (std::string_view(argv[i]) == "--timeout-ms" && i + 1 < argc)
            options.timeoutMs = std::atoi(argv[++i]);
        else
            return std::nullopt;
    }
    if (i + 1 >= argc || options.timeoutMs <= 0)
        return std::nullopt;
    options.command.assign(argv + i + 1, argv + argc);
    options.command.push_back(nullptr);
    return options;
}

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> owned(Reply* reply)
{
    return {reply, &std::free};
}

// Subscribes to the root window's children and readies DAMAGE; the display
// has seen both before this returns. The first event code of DAMAGE, or
// nothing if the display cannot watch.
std::optional<std::uint8_t> startWatching(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(connection, &xcb_damage_id);
    if (damage == nullptr || !damage->present) {
        std::fprintf(stderr, "%s: the display has no DAMAGE extension\n", kName);
        return std::nullopt;
    }
    const auto version = owned(xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, 1, 1), nullptr));
    if (!version) {
        std::fprintf(stderr, "%s: DAMAGE does not answer\n", kName);
        return std::nullopt;
    }
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    const auto selected = xcb_request_check(
        connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));
    if (selected != nullptr) {
        std::fprintf(stderr, "%s: cannot watch the root window (X error %d)\n", kName,
                     selected->error_code);
        std::free(selected);
        return std::nullopt;
    }
    return damage->first_event;
}

pid_t start(const Options& options)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::dup2(STDERR_FILENO, STDOUT_FILENO); // our stdout carries the result alone
    ::execvp(options.command[0], options.command.data());
    std::fprintf(stderr, "%s: cannot start %s: %s\n", kName, options.command[0],
                 std::strerror(errno));
    std::_Exit(127);
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Times {
    std::optional<double> mapMs;
    std::optional<double> paintMs;
};

// Follows the program's windows until the first paint, the time-out, the
// program's end or the display's.
Times watch(xcb_connection_t* connection, xcb_window_t root, std::uint8_t damageNotify,
            Clock::time_point started, pid_t child, int timeoutMs)
{
    Times times;
    std::set<xcb_window_t> created, mapped;
    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (!times.paintMs) {
        const double left = timeoutMs - millisecondsSince(started);
        if (left <= 0 || ::waitpid(child, nullptr, WNOHANG) == child)
            break;
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (event == nullptr) {
            if (xcb_connection_has_error(connection))
                break;
            ::poll(&display, 1, static_cast<int>(left) + 1);
            continue;
        }
        const int type = event->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* create = reinterpret_cast<xcb_create_notify_event_t*>(event);
            if (create->parent == root) {
                created.insert(create->window);
                // Nothing is drawn before the program maps the window, which
                // it can only do after this request has reached the display.
                xcb_damage_create(connection, xcb_generate_id(connection), create->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(connection);
            }
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (created.contains(map->window)) {
                mapped.insert(map->window);
                if (!times.mapMs)
                    times.mapMs = millisecondsSince(started);
            }
        } else if (type == damageNotify + XCB_DAMAGE_NOTIFY) {
            const auto* damage = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (mapped.contains(damage->drawable))
                times.paintMs = millisecondsSince(started);
        }
        std::free(event);
    }
    return times;
}

void end(pid_t child)
{
    if (::waitpid(child, nullptr, WNOHANG) == child)
        return;
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: %s [--timeout-ms N] -- COMMAND [ARG...]\n", kName);
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "%s: cannot open the display\n", kName);
        xcb_disconnect(connection);
        return 1;
    }
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screen.rem > 0; ++i)
        xcb_screen_next(&screen);
    const xcb_window_t root = screen.data->root;

    const std::optional<std::uint8_t> damageEvents = startWatching(connection, root);
    if (!damageEvents) {
        xcb_disconnect(connection);
        return 1;
    }
    const Clock::time_point started = Clock::now();
    const pid_t child = start(*options);
    if (child < 0) {
        std::perror(kName);
        xcb_disconnect(connection);
        return 1;
    }
    const Times times = watch(connection, root, *damageEvents, started, child, options->timeoutMs);
    end(child);
    xcb_disconnect(connection);
    if (!times.mapMs || !times.paintMs) {
        std::fprintf(stderr, "%s: %s within %d ms\n", kName,
                     times.mapMs ? "no paint" : "no window mapped", options->timeoutMs);
        return 1;
    }
    std::printf("map %.3f paint %.3f\n", *times.mapMs, *times.paintMs);
    return 0;
}
