#include "support/ViewHarness.h"

#include "settings/SettingsStore.h"
#include "view/CRavoloView.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QVBoxLayout>

ViewHarness::ViewHarness(const QString& profilePath)
    : m_pSettings(std::make_unique<SettingsStore>(
          profilePath.isEmpty() ? m_ProfileDir.filePath(QStringLiteral("Ravolo.ini"))
                                : profilePath)) {
    // The current version, so the version check clears nothing.
    m_pSettings->CheckVersion(ProgramVersion::FromBuild());
}

ViewHarness::~ViewHarness() {
    delete m_pView;
}

std::unique_ptr<SettingsStore> ViewHarness::ProfileOnDisk() const {
    const QString copy = m_ProfileDir.filePath(QStringLiteral("copy%1.ini").arg(++m_nCopies));
    QFile::copy(m_pSettings->Path(), copy);
    return std::make_unique<SettingsStore>(copy);
}

QString ViewHarness::MakeFile(const QString& relativePath, qint64 size) const {
    const QString path = m_Dir.filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray(size, 'x'));
    return path;
}

CRavoloView& ViewHarness::Start(const QString& playerPath) {
    m_pSettings->SavePlayerPath(playerPath);
    m_pView =
        new CRavoloView({*m_pSettings, prompter, beeper, clock, pointer}, frame, &frame.window);
    auto* layout = new QVBoxLayout(&frame.window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pView);
    frame.window.resize(800, 600);
    m_pView->OnInitialUpdate();
    frame.window.show();
    return *m_pView;
}

bool ViewHarness::WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

bool ViewHarness::WaitForReady(int timeoutMs) {
    return WaitFor([this] { return m_pView->Engine().GetPrepState() == PrepState::Ready; },
                   timeoutMs);
}

bool ViewHarness::EndUnansweredStop() {
    if (!m_pView->Session().Stopping())
        return true;
    // The wait counts from the moment the position is asked, not from the stop.
    if (!WaitFor([this] { return !m_pView->Engine().HasQueuedCommands(); }))
        return false;
    clock.Advance(m_pView->Settings().m_nEndChkTimeout);
    return WaitFor([this] { return !m_pView->Session().Stopping(); });
}
