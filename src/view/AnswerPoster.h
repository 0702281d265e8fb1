#pragma once

#include "engine/IAnswerSink.h"

class QObject;

// Turns the engine's answers, reported on the reader thread, into events posted to the view.
class AnswerPoster : public IAnswerSink {
public:
    explicit AnswerPoster(QObject* target) : m_Target(target) {}
    void PostAnswer(AppEventNumber number, long value) override;

private:
    QObject* m_Target;
};
