#include "support/TestMedia.h"

#include <QProcess>
#include <QStringList>
#include <cstdio>

bool TestMedia::MakeClip(const QString& path, int seconds, bool withVideo, int redSeconds) {
    const QString duration = QString::number(seconds);
    QStringList arguments{"-hide_banner", "-loglevel", "error", "-y"};
    if (withVideo)
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << "testsrc=duration=" + duration + ":size=160x120:rate=25";
    arguments << "-f"
              << "lavfi"
              << "-i"
              << "sine=duration=" + duration;
    if (withVideo && redSeconds > 0)
        arguments << "-vf"
                  << QStringLiteral("drawbox=x=0:y=0:w=iw:h=ih:color=red:t=fill:enable='lt(t,%1)'")
                         .arg(redSeconds);
    if (withVideo)
        arguments << "-c:v"
                  << "mpeg4";
    arguments << "-c:a"
              << "mp2"
              << "-shortest" << path;

    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", arguments);
    const bool done = ffmpeg.waitForFinished(60000);
    if (done && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0)
        return true;
    std::fprintf(stderr, "ffmpeg failed for %s: %s\n", qPrintable(path),
                 ffmpeg.readAllStandardError().constData());
    return false;
}
