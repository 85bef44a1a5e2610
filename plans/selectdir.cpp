#include "plans/selectdir.h"

#include "data/mydatabase.h"
#include "util/dialogs.h"
#include "util/widgets.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace zf {

namespace {

// Pseudo file systems hold nothing a plan folder could live in.
bool isSystemVolume(const QString& root)
{
    for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot"})
        if (root == QLatin1String(prefix) || root.startsWith(QLatin1String(prefix) + QLatin1Char('/')))
            return true;
    return false;
}

} // namespace

TfSelectDir::TfSelectDir(Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_roots(new QComboBox(this)),
      m_model(new QFileSystemModel(this)), m_tree(new QTreeView(this)),
      m_newFolder(button(this, "SBNowyFolder", QStringLiteral("Nowy folder"),
                         QStringLiteral("Stwórz nowy podkatalog  w wybranej lokalizacji"))),
      m_ok(button(this, "SBOK", QStringLiteral("&OK"), {})),
      m_cancel(button(this, "SBAnuluj", QStringLiteral("&Anuluj"), {}))
{
    setObjectName(QStringLiteral("TfSelectDir"));
    setWindowTitle(QStringLiteral("Wybierz lokalizację"));
    setModal(true);

    m_roots->setObjectName(QStringLiteral("cbDrive"));
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setReadOnly(true);
    m_model->setRootPath(QDir::rootPath());
    m_tree->setObjectName(QStringLiteral("dirTree"));
    m_tree->setAccessibleName(QStringLiteral("Foldery"));
    m_tree->setModel(m_model);
    m_tree->setHeaderHidden(true);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_tree->hideColumn(c);
    fillRoots();

    connect(m_roots, &QComboBox::activated, this, &TfSelectDir::rootChosen);
    connect(m_newFolder, &QPushButton::clicked, this, &TfSelectDir::NewFolder);
    connect(m_ok, &QPushButton::clicked, this, &TfSelectDir::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* rootLabel = new QLabel(QStringLiteral("&Dysk:"), this);
    rootLabel->setBuddy(m_roots);
    auto* top = new QHBoxLayout;
    top->addWidget(rootLabel);
    top->addWidget(m_roots, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_newFolder);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tree, 1);
    layout->addLayout(buttons);
    resize(420, 460);
}

TfSelectDir::~TfSelectDir() = default;

void TfSelectDir::fillRoots()
{
    QStringList roots{QDir::rootPath(), QDir::homePath()};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && !isSystemVolume(v.rootPath()) && !roots.contains(v.rootPath()))
            roots << v.rootPath();
    m_roots->clear();
    for (const QString& r : roots)
        m_roots->addItem(QDir::toNativeSeparators(r), r);
}

void TfSelectDir::rootChosen(int index)
{
    const QString root = m_roots->itemData(index).toString();
    const QModelIndex at = m_model->index(root);
    m_tree->setRootIndex(at);
    m_tree->setCurrentIndex(at);
}

QString TfSelectDir::currentFolder() const
{
    const QModelIndex at = m_tree->currentIndex();
    return at.isValid() ? m_model->filePath(at)
                        : m_roots->currentData().toString();
}

bool TfSelectDir::setCurrentFolder(const QString& path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    if (!text::DirectoryExists(clean))
        return false;
    // The root whose folder holds the path most closely.
    int best = 0;
    for (int i = 0; i < m_roots->count(); ++i) {
        const QString r = m_roots->itemData(i).toString();
        const bool holds = clean == r || clean.startsWith(text::ExcludeTrailingSeparator(r) + QLatin1Char('/'));
        if (holds && r.size() >= m_roots->itemData(best).toString().size())
            best = i;
    }
    m_roots->setCurrentIndex(best);
    m_tree->setRootIndex(m_model->index(m_roots->itemData(best).toString()));
    const QModelIndex at = m_model->index(clean);
    if (!at.isValid())
        return false;
    m_tree->setCurrentIndex(at);
    m_tree->expand(at);
    m_tree->scrollTo(at);
    return true;
}

bool TfSelectDir::Execute(const QString& start)
{
    if (!setCurrentFolder(start) && !m_tree->currentIndex().isValid())
        setCurrentFolder(QDir::homePath());
    exec();
    return m_result;
}

void TfSelectDir::showEvent(QShowEvent* event)
{
    m_result = false;
    QDialog::showEvent(event);
    m_tree->setFocus();
}

void TfSelectDir::NewFolder()
{
    QString name;
    if (!m_dialogs.prompt(QStringLiteral("Wprowadź nazwę podkatalogu"),
                          QStringLiteral("Nazwa podkatalogu"), name, false))
        return;
    if (name.trimmed().isEmpty())
        return;
    const QString path = text::ExcludeTrailingSeparator(currentFolder()) + QLatin1Char('/') + name;
    if (!QDir().mkdir(path) && !text::DirectoryExists(path)) {
        m_dialogs.information(kCaptionWarning,
                              QStringLiteral("Nie udało się utworzyć podkatalogu ") +
                                  QDir::toNativeSeparators(path));
        return;
    }
    setCurrentFolder(path);
}

void TfSelectDir::confirm()
{
    m_folder = currentFolder();
    m_result = true;
    accept();
}

} // namespace zf
