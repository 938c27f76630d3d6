// Hosting control windows in a test program as the program hosts them: its message loop
// (pre-translation, then the dialog manager for dialogs) and real input through SendInput,
// which reaches the controls through the same paths as an operator's mouse and keyboard.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <functional>
#include <string>

namespace zuvo::test {

// Runs the message loop for the time, or until done answers true (checked between messages).
// Answers done's last answer (true without a condition).
bool Pump(int milliseconds, const std::function<bool()>& done = nullptr);

// Brings a window (of any process) to the front so that real keystrokes reach its thread,
// and waits until it is there and has settled.
void BringToFront(HWND window);

// Real input; each step pumps the messages it causes.
POINT CentreOf(HWND window);  // screen coordinates
void MoveMouse(POINT screen);
void LeftDown();
void LeftUp();
void ClickAt(POINT screen);
void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void PressKey(WORD virtualKey);
// Types the characters as Unicode keystrokes.
void TypeText(const std::wstring& text);

}  // namespace zuvo::test
