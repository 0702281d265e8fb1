#pragma once

#include "engine/SlaveCommand.h"

#include <deque>
#include <optional>

// First in, first out. A command's delay counts only the ticks it spends at the head.
class CommandQueue {
public:
    void Push(SlaveCommand command);

    // One tick: the head's text when it is due (and removes it), otherwise nothing.
    std::optional<QByteArray> TakeDue();

    const std::deque<SlaveCommand>& Pending() const { return m_Commands; }
    void Clear() { m_Commands.clear(); }

private:
    std::deque<SlaveCommand> m_Commands;
};
