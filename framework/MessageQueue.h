// The thread's message queue while the run works and takes no input. Other threads (the host's,
// the system's) send messages to the program's windows and wait for the answer; the run answers
// them without taking anything posted, the user's keys and clicks among them.
#pragma once

#include <windows.h>

#include <functional>

// Looks at the queue: the messages other threads have sent to this thread's windows are
// answered now (their window procedures run), and Windows sees a program that still reads its
// queue. Everything posted stays where it is, and nothing is dispatched.
void AnswerSentMessages();

// Sleep that answers: waits `ms` milliseconds, answering sent messages as they come.
void SleepAnsweringSentMessages(DWORD ms);

// Runs `work` on a thread of its own while this thread waits for it, answering sent messages
// as they come: a wait of seconds (a flush to a slow share) keeps no other thread waiting on
// us. Returns what `work` returned, with the error it left (GetLastError) as this thread's.
// Work that throws has failed (ERROR_NOT_ENOUGH_MEMORY). Where no thread can be started, the
// work runs here.
bool RunAnsweringSentMessages(const std::function<bool()>& work);

// Made before a message box that follows work which took no input, and kept while the box is
// up. The keys and clicks given during the work are thrown away (the box's loop would take a
// queued Enter as pressing its button, a click as aimed at the window under it). A WM_QUIT in
// the queue, which would end the box the moment it appears, is held back, however it is
// found (a PM_REMOVE look at any range of messages takes it too), and posted again when the
// box has gone: a later loop still ends on it.
class QueueReadyForBox {
public:
    QueueReadyForBox();
    ~QueueReadyForBox();
    QueueReadyForBox(const QueueReadyForBox&) = delete;
    QueueReadyForBox& operator=(const QueueReadyForBox&) = delete;

private:
    void Remove(UINT first, UINT last);

    bool quitHeld_ = false;
    int exitCode_ = 0;
};
