// Starts a program and times it from just before it is executed to the milestone it reports on its
// standard output ("tessarin-bench <milestone> <CLOCK_MONOTONIC ns> <VmHWM kB>", as printed by the app's
// bench hook and by bench_first_frame). Prints "<milestone> <milliseconds> <VmHWM kB>"; the start-up steps
// the program reports ("tessarin-bench-step <step> <ns>") go to standard error as "step <step> <milliseconds>".
//
//   bench_launch [--timeout SECONDS] -- program [args...]
// Exits non-zero when the program reports nothing in time; the program is then killed.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Waits for the child up to `timeoutMs`; kills it when it does not end by then.
int reap(pid_t child, int timeoutMs)
{
    int status = 0;
    for (int waited = 0; waited < timeoutMs; waited += 10) {
        if (waitpid(child, &status, WNOHANG) == child)
            return status;
        usleep(10'000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    int timeoutSeconds = 60;
    int first = 1;
    while (first < argc && std::strcmp(argv[first], "--") != 0) {
        if (std::strcmp(argv[first], "--timeout") == 0 && first + 1 < argc) {
            timeoutSeconds = std::atoi(argv[first + 1]);
            first += 2;
        } else {
            std::fprintf(stderr, "usage: bench_launch [--timeout SECONDS] -- program [args...]\n");
            return 2;
        }
    }
    if (first + 1 >= argc) {
        std::fprintf(stderr, "usage: bench_launch [--timeout SECONDS] -- program [args...]\n");
        return 2;
    }
    char **command = argv + first + 1;

    int out[2];
    if (pipe(out) != 0) {
        std::perror("pipe");
        return 1;
    }
    const long long start = monotonicNs();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        // Lets a program report its own phases from the same origin.
        setenv("TESSARIN_BENCH_LAUNCH_NS", std::to_string(start).c_str(), 1);
        execvp(command[0], command);
        std::perror(command[0]);
        _exit(127);
    }
    close(out[1]);

    const long long deadline = start + static_cast<long long>(timeoutSeconds) * 1'000'000'000LL;
    std::string pending;
    std::string milestone;
    long long reportedNs = 0;
    long long peakKb = -1;
    bool found = false;
    bool open = true;
    while (!found && open) {
        const long long left = deadline - monotonicNs();
        if (left <= 0)
            break;
        pollfd readable {out[0], POLLIN, 0};
        if (poll(&readable, 1, static_cast<int>(left / 1'000'000 + 1)) <= 0)
            continue;
        char buffer[4096];
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0) {
            open = false;
            break;
        }
        pending.append(buffer, static_cast<size_t>(got));
        size_t end;
        while (!found && (end = pending.find('\n')) != std::string::npos) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            char name[64] = {};
            long long stepNs = 0;
            if (std::sscanf(line.c_str(), "tessarin-bench %63s %lld %lld", name, &reportedNs, &peakKb) == 3) {
                milestone = name;
                found = true;
            } else if (std::sscanf(line.c_str(), "tessarin-bench-step %63s %lld", name, &stepNs) == 2) {
                // The start-up's steps, in milliseconds since the fork, beside the figure.
                std::fprintf(stderr, "step %s %.1f\n", name, double(stepNs - start) / 1e6);
            } else {
                std::fprintf(stderr, "%s\n", line.c_str()); // the program's own output
            }
        }
    }
    const int status = reap(child, found ? 10'000 : 0);
    close(out[0]);
    if (!found) {
        std::fprintf(stderr, "bench_launch: %s reported no milestone (status %d)\n", command[0], status);
        return 1;
    }
    std::printf("%s %.1f %lld\n", milestone.c_str(), double(reportedNs - start) / 1e6, peakKb);
    return 0;
}
