#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <chrono>
#include <cstddef>
#include <optional>

#include "effects/EditedValues.h"

class QAction;
class QActionGroup;
struct EditorContext;

// The player's parameter edits in the effect window, for undo and redo, and the A/B
// comparison. A step is one dial gesture (a drag, or moves of one dial less than 600 ms
// apart), one switch flip, list choice or check-box click, or one loaded preset. Undoing
// or redoing a step puts the controls back, each sending as the player's change of it
// does. Values the pedal reports are no steps: a reply that differs from what the window
// showed starts the history again, because the pedal is the truth.
//
// A/B: "Keep as A" stores the window's values; "Compare A/B" then switches the pedal and
// the window between A and the values edited since (B), sending only the parameters
// that differ. Switching sides is no step and leaves the history alone: it is a look at
// two settings, not an edit, and a step per look would bury the edits under the looks.
// The next edit, undo, redo or status reply ends the comparison on the side shown.
class EditHistory : public QObject {
    Q_OBJECT

  public:
    // Moves of one dial closer together than this are one step.
    static constexpr std::chrono::milliseconds kGestureGap{600};

    explicit EditHistory(EditorContext& context, QObject* parent = nullptr);
    ~EditHistory() override;

    QUndoStack& stack() { return stack_; }
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QAction* keepAAction() const { return keepA_; }
    QAction* compareAction() const { return compare_; }
    // The four actions: enabled only with the effect window's controls.
    QActionGroup* actions() const { return actions_; }

    // A player's change of one control from `before` to `after`.
    void RecordControlChange(std::size_t parameter, const EditedValues& before,
                             const EditedValues& after);
    void RecordPresetLoad(const EditedValues& before, const EditedValues& after);
    // The pointer went down on a dial or came up: a drag is one step however slow.
    void DialPressed();
    void DialReleased();

    // A status reply was shown in the effect window; `changed`: it held other values
    // than the window showed.
    void PedalValuesShown(bool changed);
    // The window's values are no longer those of the pedal linked now: the history and
    // A go.
    void Forget();

    void KeepA();
    void CompareAB();
    // Whether a comparison is on and which side is shown.
    enum class Side { A, B };
    std::optional<Side> SideShown() const { return side_; }
    // Ends a comparison on the side shown; the window's caption loses its mark.
    void EndComparison();

  private:
    class Step;

    void Push(Step* step);
    void Restore(const EditedValues& values, bool immediately);
    std::chrono::milliseconds Now() const;

    EditorContext& context_;
    QUndoStack stack_;
    QActionGroup* actions_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* keepA_ = nullptr;
    QAction* compare_ = nullptr;
    // The last step may take in the next change: nothing was undone, redone or cleared
    // since it was recorded.
    bool stepOpen_ = false;
    // Each press on a dial counts; while the pointer is down the count names the drag.
    int presses_ = 0;
    bool pressed_ = false;
    std::optional<EditedValues> a_;
    EditedValues b_;
    std::optional<Side> side_;
    QString plainCaption_;  // the effect window's caption without the side's mark
};
