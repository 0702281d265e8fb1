#include "engine/CommandQueue.h"

void CommandQueue::Push(SlaveCommand command) {
    m_Commands.push_back(std::move(command));
}

std::optional<QByteArray> CommandQueue::TakeDue() {
    if (m_Commands.empty())
        return std::nullopt;
    SlaveCommand& head = m_Commands.front();
    if (head.delay > 0) {
        --head.delay;
        return std::nullopt;
    }
    QByteArray text = std::move(head.text);
    m_Commands.pop_front();
    return text;
}
