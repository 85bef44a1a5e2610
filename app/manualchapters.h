#pragma once

#include <QString>

namespace zf {

// The manual's chapter for a window, by the window's class ("zf::TfEmployeesPlans"); for the
// main window `mainPage` names the page shown ("plans" for the plans page). The chapter is
// named by its title without its number, as the manual's contents list it, so renumbering
// the chapters keeps it; empty: the manual's beginning.
QString ManualChapterOf(const QString& windowClass, const QString& mainPage = {});

// The employees' chapter, which zefirant-plan's "Pomoc" opens.
inline const QString kManualPlanerChapter = QStringLiteral("Jak wypełnić plan urlopowy");

} // namespace zf
