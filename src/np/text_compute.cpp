#include "np/text_compute.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "frame.hpp"
#include "interrupt.hpp"

namespace quorin::np {
namespace {

// Runs the row's kernel over elements [i, i + n) of the chunk, all of them texts.
bool kernel_over(const Work& work, const Chunk& chunk, npy_intp i, npy_intp n, array::Refusals& r) {
    const array::Form& f = *work.form;
    const int texts = f.nin - f.per_call;
    char* data[NPY_MAXARGS];
    std::ptrdiff_t steps[NPY_MAXARGS];
    for (int k = 0; k < texts; ++k) {
        data[k] = reinterpret_cast<char*>(const_cast<std::string_view*>(chunk.texts(i) + k));
        steps[k] = static_cast<std::ptrdiff_t>(sizeof(std::string_view)) * texts;
    }
    // One value of each per-call option for every element.
    for (int k = texts; k < f.nin; ++k) {
        data[k] = reinterpret_cast<char*>(const_cast<std::uint64_t*>(work.per_call + (k - texts)));
        steps[k] = 0;
    }
    data[f.nin] = work.out_at(i);
    steps[f.nin] = work.out_at(1) - work.out_at(0);
    r.visited = i;
    return f.kernels[0](data, &n, steps, r);
}

void lower(std::atomic<std::int64_t>& a, std::int64_t v) {
    std::int64_t now = a.load(std::memory_order_relaxed);
    while (v < now && !a.compare_exchange_weak(now, v, std::memory_order_relaxed)) {
    }
}

bool flag_set(void* flag) { return static_cast<std::atomic<bool>*>(flag)->load(std::memory_order_relaxed); }

// One piece of a chunk's work: one element, or a group of short ones for the batch kernel.
struct Task {
    std::int64_t first;  // the lowest flat index it computes
    std::uint32_t begin, count;  // positions in Job::order
    bool group;
};

// A chunk's work, shared by the workers; each takes the next task until none is left.
struct Job {
    const Work& work;
    const Chunk& chunk;
    std::vector<npy_intp> order;  // flat indices, as the tasks take them
    std::vector<Task> tasks;
    std::atomic<std::size_t> next{0};
    // Past this flat index nothing can change the outcome: it is the lowest element refused
    // (raise mode) or that threw so far. Every element below it is still computed.
    std::atomic<std::int64_t> limit{std::numeric_limits<std::int64_t>::max()};
    std::atomic<bool> stop{false};
    std::mutex merging;
    Stopped outcome;

    Job(const Work& w, const Chunk& c) : work(w), chunk(c) {}

    void plan() {
        const Batch* batch = work.batch;
        std::vector<npy_intp> grouped;
        for (npy_intp i = chunk.start; i < chunk.end; ++i) {
            if (chunk.state(i) != State::text) continue;
            if (batch != nullptr && batch->takes(chunk.texts(i)[0])) {
                grouped.push_back(i);
            } else {
                tasks.push_back({i, static_cast<std::uint32_t>(order.size()), 1, false});
                order.push_back(i);
            }
        }
        // Groups of similar lengths waste fewest lanes on padding.
        std::stable_sort(grouped.begin(), grouped.end(), [&](npy_intp a, npy_intp b) {
            return chunk.texts(a)[0].size() < chunk.texts(b)[0].size();
        });
        for (std::size_t g = 0; g < grouped.size(); g += batch->width) {
            auto count = static_cast<std::uint32_t>(std::min(batch->width, grouped.size() - g));
            if (count < batch->fewest) {  // a group of so few would compute mostly padding
                for (std::size_t k = g; k < grouped.size(); ++k) {
                    tasks.push_back({grouped[k], static_cast<std::uint32_t>(order.size()), 1, false});
                    order.push_back(grouped[k]);
                }
                break;
            }
            auto first = *std::min_element(grouped.begin() + g, grouped.begin() + g + count);
            tasks.push_back({first, static_cast<std::uint32_t>(order.size()), count, true});
            order.insert(order.end(), grouped.begin() + g, grouped.begin() + g + count);
        }
    }

    void run_group(const Task& t) {
        std::string_view texts[64];
        std::uint64_t counts[64];
        for (std::uint32_t l = 0; l < t.count; ++l) texts[l] = chunk.texts(order[t.begin + l])[0];
        work.batch->run(texts, t.count, counts, work.per_call);
        for (std::uint32_t l = 0; l < t.count; ++l) {
            auto v = static_cast<std::int64_t>(counts[l]);
            std::memcpy(work.out + order[t.begin + l] * 8, &v, 8);
        }
    }

    // One worker's share. Interruption and escapes are kept; refusals merged at the end.
    void work_on() {
        array::Refusals r;
        r.stop_at_first = work.mode == Mode::raise;
        std::int64_t escape_at = std::numeric_limits<std::int64_t>::max();
        std::exception_ptr escape;
        bool interrupted = false;
        for (std::size_t t; (t = next.fetch_add(1, std::memory_order_relaxed)) < tasks.size();) {
            const Task& task = tasks[t];
            if (stop.load(std::memory_order_relaxed)) break;
            if (task.first > limit.load(std::memory_order_relaxed)) continue;
            try {
                if (task.group) {
                    run_group(task);
                } else if (!kernel_over(work, chunk, task.first, 1, r)) {
                    lower(limit, task.first);
                }
                if (interrupt::requested()) throw frame::python_error_already_set{};
            } catch (const frame::python_error_already_set&) {
                interrupted = true;
                stop.store(true, std::memory_order_relaxed);
                break;
            } catch (...) {
                if (task.first < escape_at) {
                    escape_at = task.first;
                    escape = std::current_exception();
                }
                lower(limit, task.first);
            }
        }
        std::lock_guard<std::mutex> hold(merging);
        Stopped& o = outcome;
        o.interrupted |= interrupted;
        if (escape && (o.escape_at < 0 || escape_at < o.escape_at)) {
            o.escape_at = escape_at;
            o.escape = escape;
        }
        if (r.count > 0) {
            o.refusals.count += r.count;
            if (o.refusals.first_at < 0 || r.first_at < o.refusals.first_at) {
                o.refusals.first_at = r.first_at;
                o.refusals.first_kind = r.first_kind;
                o.refusals.first = std::move(r.first);
            }
        }
    }
};

}  // namespace

bool compute_here(const Work& work, const Chunk& chunk, Tally& tally) {
    array::Refusals r;
    r.stop_at_first = work.mode == Mode::raise;
    bool going = true;
    for (npy_intp i = chunk.start; going && i < chunk.end;) {
        if (chunk.state(i) != State::text) {
            ++i;
            continue;
        }
        npy_intp end = i + 1;
        while (end < chunk.end && chunk.state(end) == State::text) ++end;
        going = kernel_over(work, chunk, i, end - i, r);
        i = end;
    }
    tally.add(r);
    return going;
}

// The helpers of a call: started at its first chunk, each running every chunk's job beside the
// calling thread, and joined when the call ends.
struct Folding::Crew {
    int wanted;
    std::vector<std::thread> threads;
    std::mutex m;
    std::condition_variable go, done;
    Job* job = nullptr;
    unsigned generation = 0;
    int running = 0;
    bool quit = false;

    void helper() {
        unsigned seen = 0;
        std::unique_lock<std::mutex> lock(m);
        for (;;) {
            go.wait(lock, [&] { return quit || generation != seen; });
            if (quit) return;
            seen = generation;
            Job* j = job;
            lock.unlock();
            {
                // The fold's own poll reads whether the call was told to stop.
                interrupt::Check check{flag_set, &j->stop};
                interrupt::Scope scope(check);
                j->work_on();
            }
            lock.lock();
            if (--running == 0) done.notify_all();
        }
    }

    void run(Job& j) {
        while (static_cast<int>(threads.size()) < wanted) {
            try {
                threads.emplace_back([this] { helper(); });
            } catch (...) {
                wanted = static_cast<int>(threads.size());  // fewer threads, same results
            }
        }
        {
            std::lock_guard<std::mutex> lock(m);
            job = &j;
            ++generation;
            running = static_cast<int>(threads.size());
        }
        go.notify_all();
        j.work_on();
        std::unique_lock<std::mutex> lock(m);
        while (running > 0) {
            if (done.wait_for(lock, std::chrono::milliseconds(5), [&] { return running == 0; }))
                break;
            lock.unlock();
            // The calling thread's check (signals, on the main thread) while the others fold.
            if (interrupt::requested()) {
                j.stop.store(true, std::memory_order_relaxed);
                std::lock_guard<std::mutex> hold(j.merging);
                j.outcome.interrupted = true;
            }
            lock.lock();
        }
    }

    ~Crew() {
        {
            std::lock_guard<std::mutex> lock(m);
            quit = true;
        }
        go.notify_all();
        for (std::thread& t : threads) t.join();
    }
};

Folding::Folding(int workers) {
    if (workers > 1) {
        crew_ = std::make_unique<Crew>();
        crew_->wanted = workers - 1;
    }
}

Folding::~Folding() = default;

Stopped Folding::compute(const Work& work, const Chunk& chunk) {
    Job job(work, chunk);
    job.plan();
    if (crew_ && job.tasks.size() > 1)
        crew_->run(job);
    else
        job.work_on();
    Stopped o = std::move(job.outcome);
    o.at_refusal = o.refusals.count > 0 && work.mode == Mode::raise;
    return o;
}

}  // namespace quorin::np
