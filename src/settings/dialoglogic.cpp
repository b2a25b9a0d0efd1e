// Effect selection encoding, the exit-condition rule and the size, position and order
// choices of the configuration dialog.
#include "settings/dialoglogic.h"

#include "settings/cfgbox.h"

namespace pictoralia {

AnsiString EffectsToString(const QListWidget &list)
{
    AnsiString effects;
    for (int i = 0; i < list.count(); ++i) {
        if (list.item(i)->checkState() == Qt::Checked)
            effects += static_cast<char>(i + 1);
    }
    return effects;
}

void StringToEffects(QListWidget &list, const AnsiString &effects)
{
    CheckAllEffects(list, false);
    for (const char c : effects) {
        const int code = static_cast<unsigned char>(c);
        if (code >= 1 && code <= list.count())
            list.item(code - 1)->setCheckState(Qt::Checked);
    }
}

void CheckAllEffects(QListWidget &list, bool checked)
{
    for (int i = 0; i < list.count(); ++i)
        list.item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void KeepOneExitCondition(CfgBox &box, QAbstractButton *sender)
{
    const bool anyChecked = box.cbExitMouseMove->isChecked() || box.cbExitMouseButton->isChecked()
        || box.cbExitKeyboard->isChecked() || box.cbExitEscape->isChecked();
    if (!anyChecked && sender)
        sender->setChecked(true);
}

void UpdateSizeChoice(CfgBox &box)
{
    const bool positioned = box.rbSizeNone->isChecked() || box.rbSizeResizeBig->isChecked();
    box.gbPosition->setEnabled(positioned);
    box.rbPosCenter->setEnabled(positioned);
    box.rbPosRandom->setEnabled(positioned);
    if (box.rbSizeResize->isChecked())
        box.gbSize->SetTag(0);
    else if (box.rbSizeStretch->isChecked())
        box.gbSize->SetTag(1);
    else if (box.rbSizeNone->isChecked())
        box.gbSize->SetTag(2);
    else if (box.rbSizeResizeBig->isChecked())
        box.gbSize->SetTag(4);
}

void UpdatePositionChoice(CfgBox &box)
{
    if (box.rbPosCenter->isChecked())
        box.gbPosition->SetTag(0);
    else if (box.rbPosRandom->isChecked())
        box.gbPosition->SetTag(1);
}

void UpdateOrderChoice(CfgBox &box)
{
    if (box.rbSequential->isChecked())
        box.gbOrder->SetTag(0);
    else if (box.rbRandom->isChecked())
        box.gbOrder->SetTag(1);
    else if (box.rbMixed->isChecked())
        box.gbOrder->SetTag(2);
}

void ShowStretch(CfgBox &box, int32_t stretch)
{
    switch (stretch) {
    case 0: box.rbSizeResize->setChecked(true); break;
    case 1: box.rbSizeStretch->setChecked(true); break;
    case 2:
    case 3: box.rbSizeNone->setChecked(true); break;
    case 4:
    case 5: box.rbSizeResizeBig->setChecked(true); break;
    default: break;
    }
    if (stretch == 2 || stretch == 4)
        box.rbPosCenter->setChecked(true);
    else if (stretch == 3 || stretch == 5)
        box.rbPosRandom->setChecked(true);
    UpdateSizeChoice(box);
    UpdatePositionChoice(box);
}

int32_t StretchFromTags(const CfgBox &box)
{
    const int size = box.gbSize->Tag();
    return size == 2 || size == 4 ? size + box.gbPosition->Tag() : size;
}

void ShowDisplayOrder(CfgBox &box, int32_t order)
{
    box.gbOrder->SetTag(order);
    if (order == 1)
        box.rbRandom->setChecked(true);
    else if (order == 2)
        box.rbMixed->setChecked(true);
    else
        box.rbSequential->setChecked(true);
}

} // namespace pictoralia
