#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace server::http {

// A fixed set of threads taking jobs in the order they were posted: under load every
// client waits its turn behind the same queue, none is passed over.
class WorkerPool
{
public:
    explicit WorkerPool(int threads);
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    void post(std::function<void()> job);
    // True when no job waits and some other worker is free to take the next one: a
    // worker may then go on with its own connection without passing anyone over.
    bool quiet() const { return m_queued.load() == 0 && m_idle.load() > 0; }
    // True when a job waits its turn.
    bool busy() const { return m_queued.load() > 0; }
    // Runs the jobs already posted, then ends the threads. Later posts are dropped.
    void stop();

private:
    void work();

    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::atomic<int> m_queued{0};  // jobs posted and not yet taken
    std::atomic<int> m_idle{0};    // workers waiting for a job
    std::vector<std::thread> m_threads;
};

}  // namespace server::http
