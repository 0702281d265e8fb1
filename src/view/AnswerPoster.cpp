#include "view/AnswerPoster.h"

#include "platform/AppEvents.h"

#include <QCoreApplication>

void AnswerPoster::PostAnswer(AppEventNumber number, long value) {
    // postEvent is thread-safe; the events are dropped with the target if it is destroyed.
    QCoreApplication::postEvent(m_Target, new CAppEvent(number, value));
}
