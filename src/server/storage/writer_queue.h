#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace server::storage {

// Lets writers through one at a time, in the order they joined: a ticket queue, so a
// writer that has waited longest is always the next one (a plain mutex makes no such
// promise, and SQLite's busy handler lets writers spin and overtake each other).
class WriterQueue
{
public:
    // A place in the queue. It holds the turn once it reaches the head; leaving (or
    // destroying it) gives the turn to the next place.
    class Place
    {
    public:
        Place() = default;
        Place(Place&& other) noexcept;
        Place& operator=(Place&& other) noexcept;
        ~Place() { leave(); }

        Place(const Place&) = delete;
        Place& operator=(const Place&) = delete;

        // Blocks until this place holds the turn or limit passes; answers whether it
        // holds the turn. A place that gave up stays in line until it leaves.
        bool wait(std::chrono::milliseconds limit);
        void leave();
        bool joined() const { return m_queue != nullptr; }

    private:
        friend class WriterQueue;
        Place(WriterQueue* queue, std::uint64_t ticket) : m_queue(queue), m_ticket(ticket) {}

        WriterQueue* m_queue = nullptr;
        std::uint64_t m_ticket = 0;
    };

    // A place behind every place taken before.
    Place join();
    // Places in the queue, the one holding the turn included.
    std::size_t length() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_moved;
    std::deque<std::uint64_t> m_tickets;
    std::uint64_t m_next = 0;
};

}  // namespace server::storage
