#pragma once

#include "platform/AppEvents.h"

// Receives MPlayer's answers. Called on the reader thread: an implementation only posts.
class IAnswerSink {
public:
    virtual ~IAnswerSink() = default;
    virtual void PostAnswer(AppEventNumber number, long value) = 0;
};
