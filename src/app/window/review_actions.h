#pragma once

#include <QObject>

#include <functional>

class QAction;

namespace velmora {

class ReviewController;

/// Runs an operation that ends the review in progress, after asking whether hand-made
/// boxes may be discarded when there are any; without an answer of yes it does nothing.
using AskBeforeDiscarding = std::function<void(std::function<void()> proceed)>;

// The review's commands as actions, each with its title, keys and the command's name as
// its object name (by which it is found), made once and shared: the menu bar shows them (which registers each key once, for the window) and
// the window binds them to its review.
class ReviewActions : public QObject
{
    Q_OBJECT
public:
    explicit ReviewActions(QObject *parent = nullptr);

    QAction *const pasteImage;
    QAction *const closeReview;
    QAction *const togglePreview;
    QAction *const copyCleaned;
    QAction *const exportCleaned;
    QAction *const redactAll;
    QAction *const makeAllVisible;
    QAction *const deleteSelected;
    QAction *const undo;
    QAction *const redo;
};

/// Runs the review's operation for each action, for as long as both live. Close and
/// paste end the review in progress: they go through `askBeforeDiscarding`.
void bindReviewActions(const ReviewActions &actions, ReviewController &review, AskBeforeDiscarding askBeforeDiscarding);

} // namespace velmora
