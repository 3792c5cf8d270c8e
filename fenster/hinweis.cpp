#include "fenster/hinweis.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

#include "fenster/shell.h"

namespace nux {
namespace {

bool desktopoeffnen(const QString& pfad) { return QDesktopServices::openUrl(QUrl::fromLocalFile(pfad)); }
Oeffner oeffner = desktopoeffnen;

class Hinweis : public QLabel {
public:
    Hinweis(QWidget* fenster, const char* name) : QLabel(fenster), zeit_(this) {
        setObjectName(QString::fromLatin1(name));
        setFont(schrift(QStringLiteral("MS Sans Serif"), 13, true));
        setWordWrap(true);
        setMargin(6);
        setStyleSheet(QStringLiteral("background: #FFFF80; color: black; border: 1px solid #808080;"));
        setToolTip(QStringLiteral("Klicken schließt den Hinweis"));
        setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        zeit_.setSingleShot(true);
        QObject::connect(&zeit_, &QTimer::timeout, this, &QWidget::hide);
        QObject::connect(this, &QLabel::linkActivated, this, [this](const QString& ziel) {
            verlinkt_ = true;
            const QFileInfo info(datei_);
            const QString pfad =
                ziel == QLatin1String("ordner") && !info.isDir() ? info.absolutePath() : info.absoluteFilePath();
            if (!oeffner(pfad)) fehlerzeigen(QStringLiteral("%1 lässt sich nicht öffnen: der Desktop hat kein Programm dafür.").arg(pfad));
        });
    }
    void zeigen(const QString& text, const QString& datei) {
        datei_ = datei;
        if (datei.isEmpty()) {
            setTextFormat(Qt::PlainText);
            setText(text);
        } else {
            setTextFormat(Qt::RichText);
            const QString ordner = QStringLiteral("<a href=\"ordner\">Ordner öffnen</a>");
            setText(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) + QStringLiteral("<br>") +
                    (QFileInfo(datei).isDir() ? ordner
                                              : QStringLiteral("<a href=\"datei\">Datei öffnen</a> &nbsp; ") + ordner));
        }
        QWidget* fenster = parentWidget();
        const int breite = std::max(200, fenster->width() - 16);
        const int hoehe = heightForWidth(breite);
        setGeometry(8, std::max(0, fenster->height() - hoehe - 8), breite, hoehe);
        show();
        raise();
        // Time to read it and to reach a link.
        zeit_.start(datei.isEmpty() ? 20000 : 60000);
    }

protected:
    // A click on a link opens; a click anywhere else closes the notice.
    void mouseReleaseEvent(QMouseEvent* e) override {
        verlinkt_ = false;
        QLabel::mouseReleaseEvent(e);
        if (!verlinkt_) hide();
    }

private:
    QTimer zeit_;
    QString datei_;
    bool verlinkt_ = false;
};

}  // namespace

QLabel* hinweiszeigen(QWidget* fenster, const char* name, const QString& text, const QString& datei) {
    if (!fenster) return nullptr;
    Hinweis* h = nullptr;
    // One notice at a time: a newer one of another kind takes the place.
    for (QLabel* l : fenster->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        auto* anderer = dynamic_cast<Hinweis*>(l);
        if (!anderer) continue;
        if (anderer->objectName() == QLatin1String(name)) h = anderer;
        else anderer->hide();
    }
    if (!h) h = new Hinweis(fenster, name);
    h->zeigen(text, datei);
    return h;
}

void oeffnersetzen(Oeffner o) { oeffner = o ? o : desktopoeffnen; }

}  // namespace nux
