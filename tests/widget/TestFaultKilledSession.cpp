// The program killed with SIGKILL at random moments of a session of plays, stops with and
// without registration, and deletions. The session runs in a child process (this test program
// again, running only the driver below) that notes in a journal, before each change of the
// resume list, the list it expects afterwards ("next"), and once the change is complete and
// written, the list it has ("state"). After the kill the profile must load and hold the last
// complete state, or the next one when the kill came while that change was being written.
#include "resources/CommandIds.h"
#include "settings/ProfileFormat.h"
#include "settings/ResumeList.h"
#include "settings/SettingsStore.h"
#include "support/FakePlayer.h"
#include "support/Patience.h"
#include "support/QtPrinters.h"
#include "support/ViewHarness.h"
#include "view/CRavoloView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace {

constexpr int kRounds = 30;
constexpr int kFiles = 6;
constexpr int kFileSize = 4096;
constexpr int kMaxOpsPerRound = 40;
constexpr char kDirVariable[] = "RAVOLO_KILL_DRIVER_DIR";
constexpr char kRoundVariable[] = "RAVOLO_KILL_DRIVER_ROUND";

struct Paths {
    explicit Paths(const QString& root) : root(root) {}
    QString root;
    QString Media() const { return root + "/media"; }
    QString Profile() const { return root + "/profile/Ravolo.ini"; }
    QString Temp() const { return root + "/tmp"; }
    QString Journal(int round) const { return root + QStringLiteral("/journal%1.txt").arg(round); }
};

// The resume list as the profile holds it, one stored value per entry.
QStringList StoredList(const SettingsStore& store) {
    ResumeList list;
    list.Load(store);
    QStringList values;
    for (const MediaItem& entry : list.Entries())
        values << FormatResumeEntry(entry);
    return values;
}

// ---- the child: one session, killed at some moment by the parent ---------------------------

class Journal {
public:
    explicit Journal(const QString& path)
        : m_nFd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644)) {}
    ~Journal() { ::close(m_nFd); }
    // One write per line: a kill leaves whole lines, and at most one without its line feed.
    void Note(const QString& kind, const QStringList& values = {}) {
        const QByteArray line = (QStringList{kind} + values).join('\t').toUtf8() + '\n';
        if (::write(m_nFd, line.constData(), static_cast<size_t>(line.size())) != line.size())
            std::abort();
    }

private:
    int m_nFd;
};

class Session {
public:
    Session(const Paths& paths, int round)
        : m_Paths(paths), m_Journal(paths.Journal(round)), m_Random(static_cast<unsigned>(round)),
          m_nPosition(100 + round), h(paths.Profile()) {}

    void Run() {
        FakePlayer player("on get_time_length reply ANS_LENGTH=600\n"
                          "on get_time_pos reply ANS_TIME_POSITION=" +
                          QByteArray::number(m_nPosition) + ".7\n");
        h.Start(FakePlayer::Program());
        if (!h.WaitForReady())
            return m_Journal.Note("error", {"not ready"});
        m_Expected = Actual();
        m_Journal.Note("ready", m_Expected);
        for (int op = 0; op < kMaxOpsPerRound; ++op)
            RunOneOp();
    }

private:
    CRavoloView& View() { return h.View(); }
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_Random); }
    QStringList Actual() {
        QStringList values;
        for (const MediaItem& entry : View().Resume().List().Entries())
            values << FormatResumeEntry(entry);
        return values;
    }

    void RunOneOp() {
        const int choice = Pick(10);
        const int entries = View().Resume().List().Count();
        if (choice < 6 || entries == 0)
            PlayAndStop(false, Pick(kFiles), choice % 3 != 0);
        else if (choice < 8)
            PlayAndStop(true, Pick(entries), choice == 6);
        else
            Delete(Pick(entries));
    }

    void ShowScreen(bool resume) {
        if (View().State().m_bResumeScreen != resume)
            View().OnCommand(ID_SWITCH_SCREEN);
    }

    void PlayAndStop(bool fromResume, int row, bool registering) {
        ShowScreen(fromResume);
        CColorListCtrl& list = fromResume ? View().ResumeListCtrl() : View().FolderList();
        list.SelectRow(row, true);
        const QString path = fromResume ? View().Resume().List().Entries()[row].path
                                        : View().Folder().Items()[row].path;
        QStringList next = m_Expected;
        if (registering) {
            next.removeIf([&](const QString& value) { return value.endsWith('|' + path); });
            next.prepend(QStringLiteral("2|%1|%2|").arg(m_nPosition).arg(kFileSize) + path);
            while (next.size() > ResumeList::ResumeCapacity)
                next.removeLast();
        }
        m_Journal.Note("next", next);
        View().PlaySelectedItem();
        if (!View().Session().IsPlaying())
            return m_Journal.Note("error", {"did not start", path});
        ViewHarness::WaitFor([&] { return !View().Session().StartCheckArmed(); });
        View().OnCommand(registering ? ID_STOP_REGISTER : ID_STOP_NO_REGISTER);
        ViewHarness::WaitFor([&] { return !View().Session().Stopping(); });
        Complete(next);
    }

    void Delete(int row) {
        ShowScreen(true);
        View().ResumeListCtrl().SelectRow(row, true);
        QStringList next = m_Expected;
        next.removeAt(row);
        m_Journal.Note("next", next);
        h.prompter.resumeDeleteAnswers.push_back(true);
        View().OnCommand(ID_RESUME_DELETE);
        Complete(next);
    }

    void Complete(const QStringList& next) {
        const QStringList actual = Actual();
        if (actual != next)
            m_Journal.Note("mismatch", actual);
        m_Expected = actual;
        m_Journal.Note("state", actual);
    }

    const Paths& m_Paths;
    Journal m_Journal;
    std::mt19937 m_Random;
    int m_nPosition;
    ViewHarness h;
    QStringList m_Expected;
};

// Run only as the parent's child, with the variables set.
TEST(FaultKilledRavoloDriver, DISABLED_Session) {
    const QByteArray dir = qgetenv(kDirVariable);
    if (dir.isEmpty())
        GTEST_SKIP() << "only run by FaultKilledRavolo.ProfileKeepsEveryCompletedChange";
    Session(Paths(QFile::decodeName(dir)), qEnvironmentVariableIntValue(kRoundVariable)).Run();
}

// ---- the parent ---------------------------------------------------------------------------

struct JournalLine {
    QString kind;
    QStringList values;
};

QList<JournalLine> ReadJournal(const QString& path) {
    QFile file(path);
    QList<JournalLine> lines;
    if (!file.open(QIODevice::ReadOnly))
        return lines;
    QList<QByteArray> raw = file.readAll().split('\n');
    // The last piece is empty, or the line the kill cut short.
    raw.removeLast();
    for (const QByteArray& line : raw) {
        QStringList fields = QString::fromUtf8(line).split('\t');
        lines.append({fields.takeFirst(), fields});
    }
    return lines;
}

class FaultKilledRavolo : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_Root.isValid());
        for (const QString& dir : {m_Paths.Media(), m_Paths.Temp(), m_Paths.root + "/profile"})
            ASSERT_TRUE(QDir().mkpath(dir));
        for (int n = 0; n < kFiles; ++n) {
            QFile file(m_Paths.Media() + QStringLiteral("/clip %1.avi").arg(n));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(kFileSize, 'x'));
        }
        SettingsStore store(m_Paths.Profile());
        store.CheckVersion(ProgramVersion::FromBuild());
        store.WriteString(QStringLiteral("CurrentFolder"), m_Paths.Media());
        ASSERT_TRUE(store.Sync());
    }

    // Starts the child and kills it at a random moment: in every fifth round during its start,
    // otherwise at most 1.5 s after it was ready.
    void RunRound(int round, std::mt19937& random) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kDirVariable, m_Paths.root);
        env.insert(kRoundVariable, QString::number(round));
        env.insert(QStringLiteral("TMPDIR"), m_Paths.Temp()); // what a killed child leaves
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=FaultKilledRavoloDriver.DISABLED_Session"),
                     QStringLiteral("--gtest_also_run_disabled_tests")});
        ASSERT_TRUE(child.waitForStarted(kPatienceMs));
        const bool early = round % 5 == 0;
        if (!early) {
            // The child notes "ready" or an error, or ends: however long a busy machine takes.
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return child.state() == QProcess::NotRunning ||
                           QFile(m_Paths.Journal(round)).size() > 0;
                },
                kPatienceMs));
        }
        const int delayMs = std::uniform_int_distribution<int>(0, early ? 800 : 1500)(random);
        child.waitForFinished(delayMs);
        ASSERT_EQ(child.state(), QProcess::Running)
            << "the session ended by itself: " << child.readAllStandardOutput().constData();
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(kPatienceMs));
    }

    // A copy of the profile as it is on disk now: Qt keeps its own copy of a file it has read.
    std::unique_ptr<SettingsStore> OnDisk(int round, const char* when) const {
        const QString copy = m_Paths.root + QStringLiteral("/%1-%2.ini").arg(when).arg(round);
        EXPECT_TRUE(QFile::copy(m_Paths.Profile(), copy));
        return std::make_unique<SettingsStore>(copy);
    }

    QTemporaryDir m_Root;
    Paths m_Paths{m_Root.path()};
};

TEST_F(FaultKilledRavolo, ProfileKeepsEveryCompletedChange) {
    const unsigned seed =
        qEnvironmentVariableIsSet("RAVOLO_FAULT_SEED")
            ? static_cast<unsigned>(qEnvironmentVariableIntValue("RAVOLO_FAULT_SEED"))
            : std::random_device()();
    RecordProperty("seed", static_cast<int>(seed));
    SCOPED_TRACE(testing::Message() << "RAVOLO_FAULT_SEED=" << seed);
    std::mt19937 random(seed);
    int completed = 0;
    int cutShort = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const QStringList before = StoredList(*OnDisk(round, "before"));
        ASSERT_NO_FATAL_FAILURE(RunRound(round, random));

        QStringList last = before;
        std::optional<QStringList> pending;
        for (const JournalLine& line : ReadJournal(m_Paths.Journal(round))) {
            ASSERT_NE(line.kind, "mismatch") << line.values.join('\n').toStdString();
            ASSERT_NE(line.kind, "error") << line.values.join(' ').toStdString();
            if (line.kind == "ready") {
                EXPECT_EQ(line.values, before) << "the list did not load as it was stored";
            } else if (line.kind == "next") {
                pending = line.values;
            } else if (line.kind == "state") {
                last = line.values;
                pending.reset();
                ++completed;
            }
        }
        cutShort += pending ? 1 : 0;

        const std::unique_ptr<SettingsStore> store = OnDisk(round, "after");
        QSettings raw(store->Path(), QSettings::IniFormat);
        ASSERT_EQ(raw.status(), QSettings::NoError);
        ASSERT_EQ(store->ReadText(SettingKey::Version), ProgramVersion::FromBuild().Text());
        const QStringList after = StoredList(*store);
        if (after != last) {
            ASSERT_TRUE(pending && after == *pending)
                << "profile:\n"
                << after.join('\n').toStdString() << "\nlast complete state:\n"
                << last.join('\n').toStdString();
        }
    }
    std::printf("%d changes completed, %d kills while a change was under way\n", completed,
                cutShort);
    EXPECT_GT(completed, kRounds);
}

} // namespace
