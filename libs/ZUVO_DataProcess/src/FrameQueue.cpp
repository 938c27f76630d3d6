#include "FrameQueue.h"

namespace zuvo::radar {

FrameQueue::FrameQueue(size_t capacity)
    : m_capacity(capacity > 0 ? capacity : 1),
      m_open(false),
      m_held(false),
      m_finished(false),
      m_inFlight(false) {}

void FrameQueue::Open() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_frames.clear();
    m_open = true;
    m_finished = false;
    m_inFlight = false;
}

void FrameQueue::Close() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_open = false;
        m_frames.clear();
    }
    m_changed.notify_all();
}

void FrameQueue::Finish() {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_finished = true;
    }
    m_changed.notify_all();
}

bool FrameQueue::PushDroppingOldest(RadarFrame frame) {
    bool dropped = false;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        if (!m_open || m_finished) {
            return false;
        }
        if (m_frames.size() >= m_capacity) {
            m_frames.pop_front();
            dropped = true;
        }
        m_frames.push_back(std::move(frame));
    }
    m_changed.notify_all();
    return dropped;
}

bool FrameQueue::PushWaiting(RadarFrame frame) {
    {
        std::unique_lock<std::mutex> hold(m_lock);
        m_changed.wait(hold, [&] { return !m_open || m_finished || m_frames.size() < m_capacity; });
        if (!m_open || m_finished) {
            return false;
        }
        m_frames.push_back(std::move(frame));
    }
    m_changed.notify_all();
    return true;
}

bool FrameQueue::Pop(RadarFrame& frame) {
    {
        std::unique_lock<std::mutex> hold(m_lock);
        m_changed.wait(hold,
                       [&] { return !m_open || m_finished || (!m_held && !m_frames.empty()); });
        // Frames held by a pause when the device ended are not handed out: nobody resumes.
        if (!m_open || m_held || m_frames.empty()) {
            return false;
        }
        frame = std::move(m_frames.front());
        m_frames.pop_front();
        m_inFlight = true;
    }
    m_changed.notify_all();
    return true;
}

void FrameQueue::FinishedFrame() {
    std::lock_guard<std::mutex> hold(m_lock);
    m_inFlight = false;
}

void FrameQueue::SetHeld(bool held) {
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_held = held;
    }
    m_changed.notify_all();
}

bool FrameQueue::HasPending() const {
    std::lock_guard<std::mutex> hold(m_lock);
    return m_inFlight || !m_frames.empty();
}

}  // namespace zuvo::radar
