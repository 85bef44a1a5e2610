#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QLabel;
class QPushButton;

namespace zf {

// The About window.
class TfAbout : public QDialog
{
    Q_OBJECT

public:
    // Opens an address with the system's default program.
    using UrlOpener = std::function<void(const QUrl&)>;

    // The maker's web page behind the address label.
    static inline const QString kWebAddress = QStringLiteral("https://www.orvantis.pl");

    // Without an opener, addresses go to QDesktopServices.
    explicit TfAbout(QWidget* parent = nullptr, UrlOpener opener = {});

    // Shown as "ver." followed by the text.
    void setVersion(const QString& version);
    // The address of the mail label ("mailto:" + address when clicked).
    void setEmail(const QString& address);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void openEmail();

    UrlOpener m_open;
    QLabel* m_version;
    QLabel* m_web;
    QLabel* m_email;
    QPushButton* m_ok;
    QString m_emailAddress;
};

} // namespace zf
