// Parameter entry and the bars: every edit is read, checked, normalised and applied at
// once, and every change of a scale redraws all pictures.

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <cmath>

#include "model/entry.h"
#include "model/number_format.h"
#include "platform/platform.h"
#include "window/experiments.h"
#include "window/form1.h"
#include "window/texts.h"

namespace sp {

void Form1::fieldChanged(ParamId id)
{
    if (zagruzka_ == 0)
        return;
    QLineEdit* edit = field(id);
    const int cursor = edit->cursorPosition();

    const FieldEdit e = edit_field(settings_.params, id, edit->text().toStdString());
    if (e.rejected) {
        beep(25);
        platform_.message(this, texts::kErrorTitle, texts::entry_message(id, *e.rejected));
    }

    // A text that needs normalising changes the field again, which runs this handler once
    // more, nested here; the nested run writes back its own text and ends the nesting.
    const QString normalised = QString::fromStdString(e.text);
    edit->setText(normalised);
    // Keep the insertion point where the user was typing, so digits can be corrected in place;
    // a field rewritten while nobody edits it shows its start.
    if (beingEdited(edit))
        edit->setCursorPosition(std::min<int>(cursor, static_cast<int>(normalised.size())));
    else
        showStart(edit);
    Form_Resize();
}

void Form1::enterPreset(const Experiment& e)
{
    // Each field goes through its own entry handling, warnings and normalising included;
    // only the re-layouts they ask for are held back and done once at the end.
    layoutsDeferred_ = true;
    layoutPending_ = false;
    for (const ParamId id : kFieldOrder)
        field(id)->setText(e.texts[static_cast<std::size_t>(id)]);
    // A start-up value is the value itself, not what its eight decimals read back as: a
    // fresh start and a preset of the same values then make the same run.
    for (const ParamId id : kFieldOrder) {
        const auto& v = e.exact[static_cast<std::size_t>(id)];
        if (v && value_of(settings_.params, id) != *v) {
            store(settings_.params, id, *v);
            layoutPending_ = true;
        }
    }
    (e.time_graphs ? Option2_ : Option1_)->setChecked(true);
    show_graphs();
    VScroll1_->setValue(e.zoom_xt);
    VScroll2_->setValue(e.zoom_yt);
    layoutsDeferred_ = false;
    if (layoutPending_)
        Form_Resize();
    layoutPending_ = false;
}

bool Form1::enterBeta(double beta)
{
    if (runActive_ || !field(ParamId::beta)->isEnabled())
        return false;
    field(ParamId::beta)->setText(
        QString::fromStdString(format_field(beta, field_decimals(ParamId::beta))));
    return true;
}

// A tone of 880 Hz lasting n units of 12 ms.
void Form1::beep(double n)
{
    platform_.tone(880, static_cast<int>(std::lround(12 * n)));
}

void Form1::HScroll1_Change(int value)
{
    settings_.scales.slowdown = static_cast<std::int16_t>(value);
    Label21_->setText(QString::number(value));
}

void Form1::HScroll2_Change(int value)
{
    settings_.scales.k_lupa = static_cast<std::int16_t>(value);
    Form_Resize();
}

void Form1::VScroll1_Change(int value)
{
    settings_.scales.k_xt = static_cast<std::int16_t>(value);
    Form_Resize();
}

void Form1::VScroll2_Change(int value)
{
    settings_.scales.k_yt = to_single(value);
    Form_Resize();
}

}  // namespace sp
