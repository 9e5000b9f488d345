// Reads and answers the message boxes that the code under test shows, through
// a thread-local CBT hook: the box is recorded when it is activated and
// answered at once by a posted button command.
#pragma once
#include <windows.h>
#include <deque>
#include <functional>
#include <string>
#include <vector>

struct SeenMessageBox {
    std::wstring text;
    std::wstring caption;
    HWND owner;
    std::vector<int> buttons;  // ids of the visible buttons, in window order
    bool hasIcon;
    HWND window;  // the box itself, for an action while it is up
};

class MessageBoxWatcher {
public:
    MessageBoxWatcher();
    ~MessageBoxWatcher();
    // The button to press in the next box; its first button when nothing is queued.
    void AnswerNext(int buttonId)
    {
        answers_.push_back(buttonId);
    }
    // Something the user does while the next box is up, before answering it.
    void WhileNextBoxIsUp(std::function<void()> action)
    {
        whileUp_ = action;
    }
    const std::vector<SeenMessageBox>& Seen() const
    {
        return seen_;
    }
    void Clear()
    {
        seen_.clear();
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND box);

    HHOOK hook_;
    std::deque<int> answers_;
    std::vector<SeenMessageBox> seen_;
    std::vector<HWND> answered_;
    std::function<void()> whileUp_;
};
