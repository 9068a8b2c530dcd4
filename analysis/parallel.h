#pragma once
// Work spread over threads: every index below n is done once, each thread taking the next
// undone one, since runs take very different times (the step shrinks as beta grows beyond
// 1). The caller's thread works too. Each index writes its own place, so the order of
// completion never shows in the results. A C++ library without std::jthread (the
// WebAssembly build's, which has no threads: a page spreads its work over Web Workers
// instead) does every index on the caller's thread.

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace sp::analysis {

// The largest number of threads started: more than enough for any machine here, and a wild
// request cannot ask the system for millions of them.
inline constexpr unsigned kMaxThreads = 256;

// work(i, on_caller) for every i in [0, n); `caller_done()` runs on the caller's thread once
// it has no index left to take, while the other threads finish theirs.
template <class Work, class CallerDone>
void for_each_index(std::int64_t n, unsigned threads, Work&& work, CallerDone&& caller_done)
{
    std::atomic<std::int64_t> next{0};
    const auto worker = [&](bool on_caller) {
        for (std::int64_t i = next++; i < n; i = next++)
            work(i, on_caller);
    };
    const auto wanted = std::min<std::int64_t>({std::max(threads, 1U), kMaxThreads, n});
#if defined(__cpp_lib_jthread)
    std::vector<std::jthread> helpers;
    for (std::int64_t i = 1; i < wanted; ++i) {
        try {
            helpers.emplace_back(worker, false);
        } catch (const std::system_error&) {
            break;  // the system has no more threads to give: those started do the rest
        }
    }
    worker(true);
    caller_done();
    helpers.clear();  // joins: every index is done before the results leave
#else
    static_cast<void>(wanted);
    worker(true);
    caller_done();
#endif
}

template <class Work>
void for_each_index(std::int64_t n, unsigned threads, Work&& work)
{
    for_each_index(n, threads, std::forward<Work>(work), [] {});
}

}  // namespace sp::analysis
