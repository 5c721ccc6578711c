// Endurance: 10,000 picker runs (hot key, a move, Escape) and 1,000 clear-alls through the console's
// session, on the virtual clock, with the heap measured after a warm-up. A long-running Marlowick
// must not grow: every run should leave the heap where it found it. Prints figures; never fails.
#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "console/script.h"
#include "console/session.h"

namespace {

using marlowick::console::Command;
using marlowick::console::Session;

std::size_t heapInUse() {
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

std::vector<Command> parse(const std::string& text) {
    auto parsed = marlowick::console::parseScript(text);
    if (auto* error = std::get_if<marlowick::console::ParseError>(&parsed)) {
        std::fprintf(stderr, "soak: line %d: %s\n", error->line, error->message.c_str());
        std::exit(2);
    }
    return std::get<std::vector<Command>>(parsed);
}

void run(Session& session, const std::vector<Command>& commands) {
    for (const auto& command : commands) {
        auto result = session.run(command);
        if (!result.ok) {
            std::fprintf(stderr, "soak: \"%s\" failed: %s\n", command.text.c_str(), result.message.c_str());
            std::exit(1);
        }
    }
}

// Runs `count` rounds after `warmUp` unmeasured ones and prints the heap's growth per 1,000.
void measure(Session& session, const char* what, const std::vector<Command>& round, int warmUp, int count) {
    for (int i = 0; i < warmUp; ++i)
        run(session, round);
    malloc_trim(0);
    std::size_t before = heapInUse();
    for (int i = 0; i < count; ++i)
        run(session, round);
    malloc_trim(0);
    std::size_t after = heapInUse();
    double perThousand = (static_cast<double>(after) - static_cast<double>(before)) * 1000.0 / count / 1024.0;
    std::printf("%-12s %6d runs after %d warm-up: heap %8.1f KB -> %8.1f KB, %+8.2f KB per 1,000 runs\n",
                what, count, warmUp, static_cast<double>(before) / 1024.0,
                static_cast<double>(after) / 1024.0, perThousand);
}

} // namespace

int main() {
    Session session({.world = Session::World::Ready, .echoLog = false});
    // The picker over the sample notifications: up, down, away. Escape leaves the sidebar open;
    // the next hot key opens the picker again over it.
    auto picker = parse("key opt+n\nwait 0.8\nkey down\nkey esc\nwait 0.3\nsidebar close\nwait 0.5\n");
    // Notifications arrive and are cleared, the sidebar closing behind.
    auto clearing = parse("post Mail \"Lunch\" \"At noon?\"\npost Messages \"Ana\" \"Late\"\n"
                          "post Messages \"Jonas\" \"Keys\"\nwait 6\nkey opt+shift+n\nwait 2\n");
    measure(session, "picker", picker, 1000, 10000);
    measure(session, "clear-all", clearing, 100, 1000);
    // That the rounds did what they say: a panel per picker run, every notification cleared.
    std::printf("panels made %llu, notifications cleared %zu (latest kept)\n",
                static_cast<unsigned long long>(session.mac().windows().panelsMade()),
                session.mac().notificationCenter().closedOrCleared().size());
    return 0;
}
