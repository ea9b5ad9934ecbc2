// While a run listens for stop signals, a signal must cut short a wait for
// input (the terminal's question), not just be noted and the wait resumed.
#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/StopSignals.h"

namespace {

using namespace std::chrono_literals;

TEST(PosixStopSignals, EachSignalEndsAWaitForInputAndIsNoted) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        platform::StopSignals stopSignals;
        EXPECT_FALSE(stopSignals.StopRequested());
        std::atomic<bool> readEnded{false};
        const pthread_t reader = ::pthread_self();
        // Signals the reader until its read ends; a read that is resumed
        // after each signal gets a byte after a second instead.
        std::thread sender([&] {
            for (int i = 0; i < 20 && !readEnded; ++i) {
                std::this_thread::sleep_for(50ms);
                if (!readEnded) ::pthread_kill(reader, signal);
            }
            if (!readEnded) {
                EXPECT_EQ(::write(pipeEnds[1], "x", 1), 1);
            }
        });
        char byte = 0;
        const ssize_t got = ::read(pipeEnds[0], &byte, 1);
        const int error = errno;
        readEnded = true;
        sender.join();
        EXPECT_EQ(got, -1) << signal;
        EXPECT_EQ(error, EINTR) << signal;
        EXPECT_TRUE(stopSignals.StopRequested()) << signal;
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
    }
}

}  // namespace
