#pragma once

#include "app/review/review_controller.h"

namespace velmora {

// Collects the changes of one operation, however many nested operations it runs, and
// announces them once when the outermost one is done.
class ReviewController::ChangeScope
{
public:
    explicit ChangeScope(ReviewController &controller) : m_controller(controller) { ++m_controller.m_changeDepth; }
    ~ChangeScope()
    {
        if (--m_controller.m_changeDepth == 0)
            emit m_controller.changed();
    }
    ChangeScope(const ChangeScope &) = delete;
    ChangeScope &operator=(const ChangeScope &) = delete;

private:
    ReviewController &m_controller;
};

} // namespace velmora
