#pragma once

#include "widgets/UiDialogs.h"

#include <vector>

// A progress whose cancel button is pressed at a scripted step. Every step
// it is told is recorded.
class ScriptedProgress : public UiDialogs::Progress
{
public:
    ScriptedProgress(int cancelAt, std::vector<int> &steps);

    bool advance(int done) override;

private:
    int m_cancelAt;
    std::vector<int> &m_steps;
    bool m_cancelled = false;
};
