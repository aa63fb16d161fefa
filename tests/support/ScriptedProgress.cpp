#include "support/ScriptedProgress.h"

ScriptedProgress::ScriptedProgress(int cancelAt, std::vector<int> &steps)
    : m_cancelAt(cancelAt)
    , m_steps(steps)
{
}

bool ScriptedProgress::advance(int done)
{
    m_steps.push_back(done);
    if (m_cancelAt >= 0 && done >= m_cancelAt)
        m_cancelled = true;
    return !m_cancelled;
}
