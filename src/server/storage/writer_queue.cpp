#include "writer_queue.h"

#include <algorithm>
#include <utility>

namespace server::storage {

WriterQueue::Place::Place(Place&& other) noexcept
    : m_queue(std::exchange(other.m_queue, nullptr)),
      m_ticket(other.m_ticket)
{
}

WriterQueue::Place& WriterQueue::Place::operator=(Place&& other) noexcept
{
    if (this != &other) {
        leave();
        m_queue = std::exchange(other.m_queue, nullptr);
        m_ticket = other.m_ticket;
    }
    return *this;
}

bool WriterQueue::Place::wait(std::chrono::milliseconds limit)
{
    if (!m_queue)
        return false;
    std::unique_lock lock(m_queue->m_mutex);
    return m_queue->m_moved.wait_for(lock, limit,
                                     [this] { return m_queue->m_tickets.front() == m_ticket; });
}

void WriterQueue::Place::leave()
{
    WriterQueue* queue = std::exchange(m_queue, nullptr);
    if (!queue)
        return;
    bool wasHead = false;
    {
        std::lock_guard lock(queue->m_mutex);
        auto& tickets = queue->m_tickets;
        const auto it = std::find(tickets.begin(), tickets.end(), m_ticket);
        wasHead = it == tickets.begin();
        tickets.erase(it);
    }
    // Every waiter checks whether it is the new head; the queue is as long as the
    // server's worker threads, so waking them all costs little.
    if (wasHead)
        queue->m_moved.notify_all();
}

WriterQueue::Place WriterQueue::join()
{
    std::lock_guard lock(m_mutex);
    const std::uint64_t ticket = m_next++;
    m_tickets.push_back(ticket);
    return Place(this, ticket);
}

std::size_t WriterQueue::length() const
{
    std::lock_guard lock(m_mutex);
    return m_tickets.size();
}

}  // namespace server::storage
