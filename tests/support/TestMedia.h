#pragma once

#include <QString>

// Small media files made at test time with ffmpeg: testsrc video and a sine tone.
class TestMedia {
public:
    // The container follows the extension (".avi" for video, ".mka" for audio only). False
    // when ffmpeg fails; the reason goes to the test log.
    // The picture is solid red for the first redSeconds, so that a test can tell by its colour
    // whether a seek went to the start.
    static bool MakeClip(const QString& path, int seconds, bool withVideo = true,
                         int redSeconds = 0);
    // A Matroska clip (".mkv") with video, two audio tracks (440 and 880 Hz) and one subtitle
    // track, none of them selected at start but the first audio.
    static bool MakeClipWithTracks(const QString& path, int seconds);
};
