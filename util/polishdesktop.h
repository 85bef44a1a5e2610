#pragma once

class QCoreApplication;

namespace zf {

// Makes Qt's own texts Polish for a program of the project: Qt's Polish translations (file and
// print dialogs, standard buttons) from Qt's translations folder, and a Polish default locale
// for the month and day names of the date pickers. The application's display name is left
// unset: Qt would append it to every window caption, and each caption is complete as it is.
// False when the translations are not installed; the program then runs with Qt's English.
bool setUpPolishDesktop(QCoreApplication& app);

} // namespace zf
