#pragma once

#include <QByteArray>

// One queued command line and the ticks it still waits at the head of the queue.
struct SlaveCommand {
    int delay = 0;
    QByteArray text;

    bool operator==(const SlaveCommand&) const = default;
};
