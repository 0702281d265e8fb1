#include "support/TestMedia.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTime>
#include <cstdio>

namespace {

const QStringList kQuiet{"-hide_banner", "-loglevel", "error", "-y"};

bool RunFfmpeg(const QStringList& arguments, const QString& path) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", arguments);
    const bool done = ffmpeg.waitForFinished(60000);
    if (done && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0)
        return true;
    std::fprintf(stderr, "ffmpeg failed for %s: %s\n", qPrintable(path),
                 ffmpeg.readAllStandardError().constData());
    return false;
}

QString TestPicture(const QString& duration) {
    return "testsrc=duration=" + duration + ":size=160x120:rate=25";
}

QStringList Lavfi(const QString& source) {
    return {"-f", "lavfi", "-i", source};
}

} // namespace

bool TestMedia::MakeClip(const QString& path, int seconds, bool withVideo, int redSeconds) {
    const QString duration = QString::number(seconds);
    QStringList arguments = kQuiet;
    if (withVideo)
        arguments += Lavfi(TestPicture(duration));
    arguments += Lavfi("sine=duration=" + duration);
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
    return RunFfmpeg(arguments, path);
}

bool TestMedia::MakeClipWithTracks(const QString& path, int seconds) {
    const QString duration = QString::number(seconds);
    const QString subtitles = path + ".srt";
    QFile srt(subtitles);
    const QString end = QTime(0, 0).addSecs(seconds).toString(QStringLiteral("hh:mm:ss"));
    if (!srt.open(QIODevice::WriteOnly) ||
        srt.write(("1\n00:00:00,000 --> " + end + ",000\nRavolo\n").toUtf8()) < 0)
        return false;
    srt.close();
    const QStringList arguments =
        kQuiet + Lavfi(TestPicture(duration)) + Lavfi("sine=frequency=440:duration=" + duration) +
        Lavfi("sine=frequency=880:duration=" + duration) +
        // -shortest would end the clip at the subtitle's first packet.
        QStringList{"-i",   subtitles, "-map", "0",   "-map", "1",   "-map", "2",      "-map", "3",
                    "-c:v", "mpeg4",   "-c:a", "mp2", "-c:s", "srt", "-t",   duration, path};
    const bool made = RunFfmpeg(arguments, path);
    QFile::remove(subtitles);
    return made;
}
