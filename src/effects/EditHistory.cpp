#include "effects/EditHistory.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QUndoCommand>
#include <utility>

#include "app/EditorContext.h"
#include "effects/EffectControls.h"
#include "effects/TformFXsettings.h"
#include "link/LinkEnvironment.h"
#include "link/Transport.h"

namespace {

constexpr int kDialGestureId = 1;
const QString kPresetStepName = QStringLiteral("Load Preset");

// The control's caption as the window shows it; the parameter's name for a control
// without one.
QString StepName(std::size_t parameter) {
    const effect_controls::EffectControl& control = effect_controls::ControlOf(parameter);
    if (*control.text) return QString::fromLatin1(control.text);
    if (control.caption) return QString::fromLatin1(control.caption->text);
    return QString::fromLatin1(varkunda::protocol::kParameterInfo.at(parameter).name);
}

bool IsDial(std::size_t parameter) {
    return std::holds_alternative<ArcDial * TformFXsettings::*>(
        effect_controls::ControlOf(parameter).member);
}

}  // namespace

// One step. Pushed after the change it records has been made, so its first redo does
// nothing. A dial's step takes in the next change of the same dial during its drag or
// less than kGestureGap after the last one.
class EditHistory::Step : public QUndoCommand {
  public:
    Step(EditHistory& history, const QString& name, std::optional<std::size_t> dial,
         const EditedValues& before, const EditedValues& after, bool immediately)
        : QUndoCommand(name),
          history_(history),
          dial_(dial),
          before_(before),
          after_(after),
          immediately_(immediately),
          time_(history.Now()),
          drag_(history.pressed_ ? history.presses_ : 0),
          joinsLast_(history.stepOpen_) {}

    int id() const override { return dial_ ? kDialGestureId : -1; }

    bool mergeWith(const QUndoCommand* other) override {
        const auto& next = static_cast<const Step&>(*other);
        if (!next.joinsLast_ || next.dial_ != dial_) return false;
        const bool sameDrag = next.drag_ != 0 && next.drag_ == drag_;
        if (!sameDrag && next.time_ - time_ >= kGestureGap) return false;
        after_ = next.after_;
        time_ = next.time_;
        drag_ = next.drag_;
        setObsolete(after_ == before_);  // turned back to where it started
        return true;
    }

    void undo() override { history_.Restore(before_, immediately_); }
    void redo() override {
        if (std::exchange(recorded_, false)) return;
        history_.Restore(after_, immediately_);
    }

  private:
    EditHistory& history_;
    std::optional<std::size_t> dial_;
    EditedValues before_;
    EditedValues after_;
    bool immediately_;
    std::chrono::milliseconds time_;
    int drag_;
    bool joinsLast_;
    bool recorded_ = true;
};

EditHistory::EditHistory(EditorContext& context, QObject* parent)
    : QObject(parent), context_(context) {
    actions_ = new QActionGroup(this);
    actions_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    undo_ = stack_.createUndoAction(actions_, QStringLiteral("Undo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = stack_.createRedoAction(actions_, QStringLiteral("Redo"));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    keepA_ = new QAction(QStringLiteral("Keep as A"), actions_);
    compare_ = new QAction(QStringLiteral("Compare A/B"), actions_);
    compare_->setEnabled(false);
    for (QAction* action : {undo_, redo_, keepA_, compare_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        actions_->addAction(action);
    }
    connect(keepA_, &QAction::triggered, this, &EditHistory::KeepA);
    connect(compare_, &QAction::triggered, this, &EditHistory::CompareAB);
}

EditHistory::~EditHistory() = default;

void EditHistory::RecordControlChange(std::size_t parameter, const EditedValues& before,
                                      const EditedValues& after) {
    const bool dial = IsDial(parameter);
    Push(new Step(*this, StepName(parameter), dial ? std::optional(parameter) : std::nullopt,
                  before, after, false));
}

// A preset that changes nothing is no step.
void EditHistory::RecordPresetLoad(const EditedValues& before, const EditedValues& after) {
    EndComparison();
    if (before == after) return;
    Push(new Step(*this, kPresetStepName, std::nullopt, before, after, true));
}

void EditHistory::Push(Step* step) {
    EndComparison();
    stack_.push(step);
    stepOpen_ = true;
}

void EditHistory::DialPressed() {
    ++presses_;
    pressed_ = true;
}

void EditHistory::DialReleased() { pressed_ = false; }

void EditHistory::Restore(const EditedValues& values, bool immediately) {
    EndComparison();
    stepOpen_ = false;
    if (TformFXsettings* effects = context_.formFXsettings)
        effects->RestoreValues(values, immediately);
}

void EditHistory::PedalValuesShown(bool changed) {
    EndComparison();
    stepOpen_ = false;
    if (changed) stack_.clear();
}

void EditHistory::Forget() {
    EndComparison();
    stepOpen_ = false;
    stack_.clear();
    a_.reset();
    compare_->setEnabled(false);
}

void EditHistory::KeepA() {
    TformFXsettings* effects = context_.formFXsettings;
    if (!effects) return;
    EndComparison();
    a_ = effects->CurrentValues();
    compare_->setEnabled(true);
}

// The pedal gets the differing parameters at once, as a loaded preset does.
void EditHistory::CompareAB() {
    TformFXsettings* effects = context_.formFXsettings;
    if (!a_ || !effects) return;
    if (!side_) {
        b_ = effects->CurrentValues();
        plainCaption_ = effects->windowTitle();
    }
    side_ = side_ == Side::A ? Side::B : Side::A;
    stepOpen_ = false;
    effects->RestoreValues(side_ == Side::A ? *a_ : b_, true);
    effects->setWindowTitle(plainCaption_ +
                            (side_ == Side::A ? QStringLiteral(" [A]") : QStringLiteral(" [B]")));
}

void EditHistory::EndComparison() {
    if (!side_) return;
    side_.reset();
    if (TformFXsettings* effects = context_.formFXsettings) effects->setWindowTitle(plainCaption_);
}

std::chrono::milliseconds EditHistory::Now() const {
    return context_.transport ? context_.transport->environment().now()
                              : std::chrono::milliseconds{0};
}
