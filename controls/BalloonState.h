// The messages of a balloon tip and their timing: how long each stays, when the balloon
// shrinks, fades and hides, and how the pointer holds it. Portable; the window supplies the
// timers, the transparency and the drawing through BalloonHost, so the timing can be driven
// by any clock.
//
// Timing: a message stays kDisplayTimeMs after it was shown or renewed, counted down by the
// expiry timer in steps of 500 ms. When one of several messages runs out the balloon is laid
// out again without it; when the last one runs out the fade timer lowers the opacity by 17
// every 100 ms (15 steps) and then hides the balloon and drops the messages. The pointer on
// the balloon stops both timers and makes it opaque; leaving gives every message at least 2
// more seconds.
//
// Threads: the state is guarded by its own lock; the host is called outside the lock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ZUVO_CommonCore.h"

namespace zuvo::controls {

enum BalloonTimer { kExpiryTimer = 1, kFadeTimer = 2 };

constexpr uint32_t kDisplayTimeMs = 5000;
constexpr uint32_t kExpiryPeriodMs = 500;
constexpr uint32_t kFadePeriodMs = 100;
constexpr uint32_t kLeaveGraceMs = 2000;
constexpr int kOpaque = 255;
constexpr int kFadeStep = 17;

struct BalloonMessage {
    int id;  // 0 or more: equal ids replace each other; negative: matched by title and text
    std::wstring title;
    std::wstring text;
    int icon;            // 0 none, 1 or 4 information, 2 or 5 warning, 3 or 6 error
    uint32_t remaining;  // milliseconds; 0 = expired, not shown
};

// What the balloon's window does on behalf of the state.
class BalloonHost {
public:
    virtual void StartTimer(BalloonTimer timer, uint32_t periodMs) = 0;
    virtual void StopTimer(BalloonTimer timer) = 0;
    virtual void ApplyAlpha(int alpha) = 0;
    // Lays the live messages out again and repaints.
    virtual void Relayout() = 0;
    // Moves the balloon to its anchor, lays it out and shows it without taking the focus.
    virtual void Present() = 0;
    virtual void Hide() = 0;

protected:
    ~BalloonHost() = default;
};

class BalloonState {
public:
    explicit BalloonState(BalloonHost& host);
    BalloonState(const BalloonState&) = delete;
    BalloonState& operator=(const BalloonState&) = delete;
    ~BalloonState();

    // Adds a message at the top, or renews the one it matches (same id, or for a negative id
    // the same title and text): the renewed message moves to the top with the new title,
    // text and icon and a fresh display time. Then the balloon is presented opaque.
    void ShowMessage(const std::wstring& title, const std::wstring& text, int icon, int id);
    void ClearMessages();

    void OnExpiryTimer();
    void OnFadeTimer();
    // The pointer moved over the balloon; answers true when the close button's hot look
    // changed (the window repaints).
    bool OnPointerMove(bool overClose);
    void OnPointerLeave();
    // The close button was clicked: hidden at once, every message forgotten.
    void OnCloseClicked();
    // The owner is hidden: the timers stop and the messages are dropped; the window hides
    // itself.
    void OnOwnerHidden();

    // Copies of the messages still shown (remaining above 0), or of all, in list order.
    std::vector<BalloonMessage> LiveMessages() const;
    std::vector<BalloonMessage> AllMessages() const;
    int Alpha() const;
    bool PointerInside() const;
    bool CloseHot() const;

private:
    BalloonMessage* At(int index) const;
    int FindLocked(const std::wstring& title, const std::wstring& text, int id) const;
    void ClearLocked();
    void StopTimers();

    BalloonHost& m_host;
    mutable CBaseLock m_lock;
    CPtrListCtrl m_messages;  // owns its BalloonMessage records; index 0 is the top
    int m_alpha = kOpaque;
    bool m_pointerInside = false;
    bool m_closeHot = false;
};

}  // namespace zuvo::controls
