#pragma once

class QWidget;

namespace zf {

// Switches an editing window between viewing and editing: text, masked, memo and spin fields
// become read-only, pick lists, check boxes and date pickers disabled, and buttons hidden when
// viewing. The "&Anuluj" button stays as "&OK" ("Zamknij") while viewing and turns back into
// "&Anuluj" ("Anuluj zmiany") when editing.
void SetFormEditable(QWidget* window, bool editable);

} // namespace zf
