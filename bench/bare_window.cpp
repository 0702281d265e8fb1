// The floor of the start-up, idle and latency figures: the least a Qt program does to show an
// empty window. Options:
//   --tick <ms>        a timer that does nothing, at the view's tick (the idle floor)
//   --echo-keys <file> every key press appended to file as its CLOCK_MONOTONIC milliseconds
//                      (the latency floor: a key that reaches a program and leaves it at once)
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <time.h>

namespace {

class EchoWindow : public QWidget {
public:
    explicit EchoWindow(const QString& echoPath) {
        if (!echoPath.isEmpty())
            m_pEcho = std::fopen(QFile::encodeName(echoPath).constData(), "a");
    }
    ~EchoWindow() override {
        if (m_pEcho != nullptr)
            std::fclose(m_pEcho);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (m_pEcho == nullptr)
            return QWidget::keyPressEvent(event);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::fprintf(m_pEcho, "%.3f\n",
                     static_cast<double>(now.tv_sec) * 1e3 +
                         static_cast<double>(now.tv_nsec) / 1e6);
        std::fflush(m_pEcho);
    }

private:
    std::FILE* m_pEcho = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype tick = arguments.indexOf(QStringLiteral("--tick"));
    const qsizetype echo = arguments.indexOf(QStringLiteral("--echo-keys"));
    EchoWindow window(echo > 0 ? arguments.value(echo + 1) : QString());
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(640, 480);
    window.show();
    QTimer timer;
    if (tick > 0) {
        timer.setTimerType(Qt::PreciseTimer);
        timer.start(arguments.value(tick + 1).toInt());
    }
    return app.exec();
}
