#pragma once

#include "support/CountingBeeper.h"
#include "support/FakeClock.h"
#include "support/FakeFrame.h"
#include "support/FakePointer.h"
#include "support/Patience.h"
#include "support/ScriptedPrompter.h"

#include <QTemporaryDir>
#include <memory>

class CRavoloView;
class SettingsStore;

// A view in a fake frame with a temporary profile and scripted desktop services. The test
// writes the profile first (Profile()), then creates and starts the view.
class ViewHarness {
public:
    // The profile lives in a temporary folder unless a path is given.
    explicit ViewHarness(const QString& profilePath = QString());
    ~ViewHarness();

    SettingsStore& Profile() { return *m_pSettings; }
    // The profile as the next start would read it from disk.
    std::unique_ptr<SettingsStore> ProfileOnDisk() const;
    QString Folder() const { return m_Dir.path(); }
    // A file in the harness folder with the given size in bytes.
    QString MakeFile(const QString& relativePath, qint64 size = 4096) const;
    // The folder the view opens on: a path inside the harness folder, made if missing.
    QString OpenAt(const QString& relativePath);
    // Resume entry `index` as stored text: written before the start, read back from disk.
    void StoreResume(int index, const QString& entry);
    QString ResumeOnDisk(int index) const;

    // Constructs the view (as the window's creation does) and runs its start-up sequence.
    CRavoloView& Start(const QString& playerPath);
    CRavoloView& View() { return *m_pView; }
    // Spins the event loop (the view's 50 ms timer runs) until the condition holds.
    static bool WaitFor(const std::function<bool()>& condition, int timeoutMs = kPatienceMs);
    bool WaitForReady(int timeoutMs = kPatienceMs);
    // A silent player never answers a stop: once MPlayer has been asked, the judgement time
    // passes on the clock and the stop ends. True when no stop waits any more.
    bool EndUnansweredStop();

    ScriptedPrompter prompter;
    CountingBeeper beeper;
    FakeClock clock;
    FakePointer pointer;
    FakeFrame frame;

private:
    QTemporaryDir m_Dir;
    QTemporaryDir m_ProfileDir;
    std::unique_ptr<SettingsStore> m_pSettings;
    mutable int m_nCopies = 0;
    CRavoloView* m_pView = nullptr; // owned by the frame window
};
