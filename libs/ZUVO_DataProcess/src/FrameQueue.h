// Frames on their way from a device's thread to the processing thread. The queue also knows
// whether a frame is still being processed, which is what "incomplete data" means.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

#include "RadarFrame.h"

namespace zuvo::radar {

class FrameQueue {
public:
    explicit FrameQueue(size_t capacity);

    // Accepts frames again, starting empty. The held state stays, so a pause made before a
    // start holds the first frames.
    void Open();
    // Refuses frames, drops those waiting and wakes every waiting thread.
    void Close();
    // The device will send no more (its line went away): refuses frames, and Pop hands out
    // those waiting before it answers false, so what arrived before the end is processed.
    void Finish();

    // Live data: when the queue is full the oldest frame gives way; answers true when one did.
    // A closed queue takes nothing.
    bool PushDroppingOldest(RadarFrame frame);
    // Recorded data: waits while the queue is full. Answers false when the queue is closed.
    bool PushWaiting(RadarFrame frame);

    // Waits for a frame while the queue is open and not held; false once it is closed, or
    // finished with nothing left to hand out. The frame counts as pending until FinishedFrame.
    bool Pop(RadarFrame& frame);
    void FinishedFrame();

    // While held, Pop hands out nothing (pause).
    void SetHeld(bool held);
    // A frame waits or is being processed.
    bool HasPending() const;

private:
    const size_t m_capacity;
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<RadarFrame> m_frames;
    bool m_open;
    bool m_held;
    bool m_finished;
    bool m_inFlight;
};

}  // namespace zuvo::radar
