// Controls of the program's dialogs named as a scenario writes them: by id, by the setting a
// control edits (OnList, KeepPDAOn, ...) or by a button's label ("Find Window!", OK). Names
// come from the program's own tables (its setting bindings and dialog templates), so a name
// means what the dialog means by it.
#pragma once

#include <string>
#include <vector>

#include "platform/text.h"

namespace kiposim {

namespace parse {
class Cursor;
}
struct Step;

// What a step can do with the control it names; a named control of another kind is refused
// when the scenario is read.
enum class ControlUse { Any, Edit, Check, List, Radio, Button };

namespace parse {
// A control: an id (0 to 65535), or a setting's name or a label as a word or a string. Fills
// step.control, and step.controlName when the control has one name in every dialog.
void Control(Cursor& c, Step& step, ControlUse use, const std::string& what);
// A drop-down item: a number (-1: none) or its text in double quotes, among the items the
// program puts into list step.control. Fills step.item and, when known, step.itemText.
void ListItem(Cursor& c, Step& step);
} // namespace parse

// The control as the timeline shows it: its name (quoted when it has blanks), else its id.
std::string ControlLabel(const Step& step);
// A list item as the timeline shows it: its text in quotes, "none", or "item N".
std::string ItemLabel(const Step& step);

} // namespace kiposim
