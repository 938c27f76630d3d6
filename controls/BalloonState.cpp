#include "controls/BalloonState.h"

namespace zuvo::controls {

BalloonState::BalloonState(BalloonHost& host) : m_host(host) {}

BalloonState::~BalloonState() {
    CAutoBaseLock guard(m_lock);
    ClearLocked();
}

void BalloonState::ShowMessage(const std::wstring& title, const std::wstring& text, int icon,
                               int id) {
    StopTimers();
    {
        CAutoBaseLock guard(m_lock);
        const int found = FindLocked(title, text, id);
        if (found >= 0) {
            // A renewed message explains the newest event: the refused character of a second
            // keystroke, the limit of a second commit.
            BalloonMessage* message = At(found);
            message->title = title;
            message->text = text;
            message->icon = icon;
            message->remaining = kDisplayTimeMs;
            m_messages.MoveData(found, 1, 0);
        } else {
            auto* message = new BalloonMessage{id, title, text, icon, kDisplayTimeMs};
            if (m_messages.AddData(message, 0) < 0) {
                delete message;
            }
        }
        m_pointerInside = false;
        m_closeHot = false;
        m_alpha = kOpaque;
    }
    m_host.Present();
    m_host.ApplyAlpha(kOpaque);
    m_host.StartTimer(kExpiryTimer, kExpiryPeriodMs);
}

void BalloonState::ClearMessages() {
    CAutoBaseLock guard(m_lock);
    ClearLocked();
}

void BalloonState::OnExpiryTimer() {
    bool alive = false;
    bool expired = false;
    {
        CAutoBaseLock guard(m_lock);
        for (int index = 0; index < m_messages.GetCount(); ++index) {
            BalloonMessage* message = At(index);
            if (message->remaining > kExpiryPeriodMs) {
                message->remaining -= kExpiryPeriodMs;
                alive = true;
            } else if (message->remaining > 0) {
                message->remaining = 0;
                expired = true;
            }
        }
        if (!alive) {
            m_alpha = kOpaque;
        }
    }
    if (!alive) {
        // The last picture stays while it fades.
        m_host.StopTimer(kExpiryTimer);
        m_host.StartTimer(kFadeTimer, kFadePeriodMs);
    } else if (expired) {
        m_host.Relayout();
    }
}

void BalloonState::OnFadeTimer() {
    int alpha = 0;
    {
        CAutoBaseLock guard(m_lock);
        m_alpha -= kFadeStep;
        alpha = m_alpha;
        if (alpha <= 0) {
            ClearLocked();
        }
    }
    if (alpha > 0) {
        m_host.ApplyAlpha(alpha);
        return;
    }
    m_host.StopTimer(kFadeTimer);
    m_host.Hide();
}

bool BalloonState::OnPointerMove(bool overClose) {
    bool hold = false;
    bool hotChanged = false;
    {
        CAutoBaseLock guard(m_lock);
        if (!m_pointerInside && m_alpha > 0) {
            m_alpha = kOpaque;
            m_pointerInside = true;
            hold = true;
        }
        hotChanged = m_closeHot != overClose;
        m_closeHot = overClose;
    }
    if (hold) {
        StopTimers();
        m_host.ApplyAlpha(kOpaque);
    }
    return hotChanged;
}

void BalloonState::OnPointerLeave() {
    {
        CAutoBaseLock guard(m_lock);
        if (!m_pointerInside) {
            return;
        }
        m_pointerInside = false;
        // Expired messages too: a fading balloon is shown again for the grace time.
        for (int index = 0; index < m_messages.GetCount(); ++index) {
            BalloonMessage* message = At(index);
            if (message->remaining < kLeaveGraceMs) {
                message->remaining = kLeaveGraceMs;
            }
        }
    }
    m_host.StartTimer(kExpiryTimer, kExpiryPeriodMs);
}

void BalloonState::OnCloseClicked() {
    StopTimers();
    m_host.Hide();
    CAutoBaseLock guard(m_lock);
    ClearLocked();
    // A leave notification after hiding must not restart the timers.
    m_pointerInside = false;
}

void BalloonState::OnOwnerHidden() {
    StopTimers();
    CAutoBaseLock guard(m_lock);
    ClearLocked();
    m_pointerInside = false;
}

std::vector<BalloonMessage> BalloonState::LiveMessages() const {
    CAutoBaseLock guard(m_lock);
    std::vector<BalloonMessage> live;
    for (int index = 0; index < m_messages.GetCount(); ++index) {
        if (At(index)->remaining > 0) {
            live.push_back(*At(index));
        }
    }
    return live;
}

std::vector<BalloonMessage> BalloonState::AllMessages() const {
    CAutoBaseLock guard(m_lock);
    std::vector<BalloonMessage> all;
    for (int index = 0; index < m_messages.GetCount(); ++index) {
        all.push_back(*At(index));
    }
    return all;
}

int BalloonState::Alpha() const {
    CAutoBaseLock guard(m_lock);
    return m_alpha;
}

bool BalloonState::PointerInside() const {
    CAutoBaseLock guard(m_lock);
    return m_pointerInside;
}

bool BalloonState::CloseHot() const {
    CAutoBaseLock guard(m_lock);
    return m_closeHot;
}

BalloonMessage* BalloonState::At(int index) const {
    return static_cast<BalloonMessage*>(m_messages.GetAt(index));
}

int BalloonState::FindLocked(const std::wstring& title, const std::wstring& text, int id) const {
    for (int index = 0; index < m_messages.GetCount(); ++index) {
        const BalloonMessage* message = At(index);
        const bool same =
            id < 0 ? message->title == title && message->text == text : message->id == id;
        if (same) {
            return index;
        }
    }
    return -1;
}

void BalloonState::ClearLocked() {
    for (int index = 0; index < m_messages.GetCount(); ++index) {
        delete At(index);
    }
    m_messages.RemoveAll();
}

void BalloonState::StopTimers() {
    m_host.StopTimer(kExpiryTimer);
    m_host.StopTimer(kFadeTimer);
}

}  // namespace zuvo::controls
