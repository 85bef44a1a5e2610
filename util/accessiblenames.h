#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace zf {

// A caption as a screen reader should say it: without the access-key "&" and without the
// spaces that pad some captions of the program ("    &OK        ").
QString spokenCaption(const QString& caption);

// Names the controls of `window` for screen readers where Qt alone gives none or a padded one:
// a button with a padded caption gets the caption trimmed; a field whose label leads to it
// ("buddy") but lives in another container gets the label's text (Qt finds a label only among
// the field's siblings). A name set by the window itself is kept.
void nameControls(QWidget* window);

// Runs nameControls on every window of the program as it is shown; installed once on the
// application object.
class AccessibleNames final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zf
