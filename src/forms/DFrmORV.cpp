#include "DFrmORV.h"

#include "ui_DFrmORV.h"

#include "DFrmJazyk.h"
#include "DFrmORVInfo.h"
#include "DFrmORVKonfig.h"
#include "DFrmORVPodajEPH.h"
#include "UBusyCursor.h"
#include "UClock.h"
#include "UDMORV.h"
#include "UDialogs.h"
#include "UFormLook.h"
#include "UGuard.h"
#include "UListRows.h"
#include "UOrvApp.h"
#include "URepaintGuard.h"

#include <QAbstractEventDispatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QToolButton>

#include <cmath>

namespace {

const QList<int> PodaniaWidths = {110, 110, 100, 120, 200, 100, 100, 150};
const QList<int> PisomnostiWidths = {110, 110, 110, 100, 120, 200, 100};

const QString XmlDeclaration = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");

void FillRows(QTableWidget* list, const QList<QStringList>& rows) {
    list->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const QStringList& cells = rows.at(row);
        for (int column = 0; column < cells.size(); ++column)
            list->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}

int SelectedRow(const QTableWidget* list) {
    const QList<QTableWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : selected.constFirst()->row();
}

} // namespace

TFrmORV::TFrmORV(QWidget* parent)
    : QMainWindow(parent)
    , ui(std::make_unique<Ui::TFrmORV>()) {
    InitFormImages();
    ui->setupUi(this);
    ApplyFormFont(this);
    resize(942, 508);
    ui->atbMain->setFixedHeight(26);
    ui->atbMain->setBackgroundRole(QPalette::Button);
    ui->atbMain->setAutoFillBackground(true);
    // The tool bar carries an item for the language action too, but hidden:
    // the item is invisible while the action itself stays visible and usable.
    auto* itemJazyk = new QAction(ui->ActJazyk->icon(), ui->ActJazyk->iconText(), ui->atbMain);
    itemJazyk->setObjectName(QStringLiteral("atbMainItemJazyk"));
    itemJazyk->setVisible(false);
    connect(itemJazyk, &QAction::triggered, ui->ActJazyk, &QAction::trigger);
    ui->atbMain->addAction(itemJazyk);
    addAction(ui->ActJazyk);

    SetupList(ui->lvPodania, PodaniaWidths);
    SetupList(ui->lvPisomnosti, PisomnostiWidths);
    for (QDateEdit* picker : {ui->dtpPodaniaDatumOd, ui->dtpPodaniaDatumDo,
                              ui->dtpPisomnostiDatumOd, ui->dtpPisomnostiDatumDo})
        picker->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));

    connect(ui->btnPodaniaNacitat, &QPushButton::clicked, this, &TFrmORV::btnPodaniaNacitatClick);
    connect(ui->btnPisomnostiNacitat, &QPushButton::clicked, this,
            &TFrmORV::btnPisomnostiNacitatClick);
    connect(ui->actKonfiguracia, &QAction::triggered, this, &TFrmORV::actKonfiguraciaExecute);
    connect(ui->ActNovyEPH, &QAction::triggered, this, &TFrmORV::ActNovyEPHExecute);
    connect(ui->ActZobrazitXML, &QAction::triggered, this, &TFrmORV::ActZobrazitXMLExecute);
    connect(ui->ActJazyk, &QAction::triggered, this, &TFrmORV::ActJazykExecute);

    // The enabling rules follow whatever affects them, and run again whenever
    // the application falls idle.
    connect(ui->pgCtrlMain, &QTabWidget::currentChanged, this, &TFrmORV::UpdateActions);
    connect(ui->lvPodania, &QTableWidget::itemSelectionChanged, this, &TFrmORV::UpdateActions);
    connect(ui->lvPisomnosti, &QTableWidget::itemSelectionChanged, this, &TFrmORV::UpdateActions);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TFrmORV::UpdateActions);
    UpdateActions();
}

TFrmORV::~TFrmORV() = default;

void TFrmORV::SetupList(QTableWidget* list, const QList<int>& widths) {
    for (int column = 0; column < widths.size(); ++column)
        list->setColumnWidth(column, widths.at(column));
    list->horizontalHeader()->setSectionsMovable(false);
    list->horizontalHeader()->setSortIndicatorShown(false);
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
    list->setWordWrap(false);
    // The selection keeps its colour when the list loses the focus.
    QPalette palette = list->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    list->setPalette(palette);
    // A double click anywhere in the list, rows or not, runs the action.
    list->viewport()->installEventFilter(this);
}

TDateTime TFrmORV::PodaniaDatumOd() const {
    return DateToDateTime(ui->dtpPodaniaDatumOd->date());
}

TDateTime TFrmORV::PodaniaDatumDo() const {
    return DateToDateTime(ui->dtpPodaniaDatumDo->date());
}

TDateTime TFrmORV::PisomnostiDatumOd() const {
    return DateToDateTime(ui->dtpPisomnostiDatumOd->date());
}

TDateTime TFrmORV::PisomnostiDatumDo() const {
    return DateToDateTime(ui->dtpPisomnostiDatumDo->date());
}

void TFrmORV::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFrmORV::FormShow() {
    OrvGuard(this, [this] {
        const TDateTime today = std::floor(Clock().Now());
        const QDate to = DateTimeToDate(today);
        const QDate from = DateTimeToDate(today - 30 * OneDay);
        ui->dtpPodaniaDatumDo->setDate(to);
        ui->dtpPisomnostiDatumDo->setDate(to);
        ui->dtpPodaniaDatumOd->setDate(from);
        ui->dtpPisomnostiDatumOd->setDate(from);
        ui->pgCtrlMain->setCurrentWidget(ui->tsPodania);
    });
}

void TFrmORV::keyPressEvent(QKeyEvent* event) {
    // "Načítať" is each tab's default button: Enter that no control used
    // starts the load of the tab in view.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        QPushButton* button = ui->pgCtrlMain->currentWidget() == ui->tsPodania
                                  ? ui->btnPodaniaNacitat
                                  : ui->btnPisomnostiNacitat;
        if (button->isEnabled()) {
            button->click();
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

bool TFrmORV::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ui->lvPodania->viewport())
            lvPodaniaDblClick();
        else if (watched == ui->lvPisomnosti->viewport())
            lvPisomnostiDblClick();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFrmORV::btnPodaniaNacitatClick() {
    OrvGuard(this, [this] { LoadPodania(); });
}

void TFrmORV::btnPisomnostiNacitatClick() {
    OrvGuard(this, [this] { LoadPisomnosti(); });
}

void TFrmORV::LoadPodania() {
    TBusyCursor hourglass;
    // A refused login leaves the rows of the previous load.
    DMORV().EnsureLogin();
    TRepaintGuard repaint(ui->lvPodania);
    ui->lvPodania->setRowCount(0);
    const std::optional<QList<TPodanie>> podania =
        DMORV().ListPodanie(ui->editPodaniaBiznisId->text(), PodaniaDatumOd(), PodaniaDatumDo());
    if (!podania)
        return;
    QList<QStringList> rows;
    rows.reserve(podania->size());
    for (const TPodanie& podanie : *podania)
        rows.append(PodanieRow(podanie));
    FillRows(ui->lvPodania, rows);
}

void TFrmORV::LoadPisomnosti() {
    TBusyCursor hourglass;
    DMORV().EnsureLogin();
    TRepaintGuard repaint(ui->lvPisomnosti);
    ui->lvPisomnosti->setRowCount(0);
    const std::optional<QList<TPisomnost>> pisomnosti = DMORV().ListSuborPisomnosti(
        ui->editPisomnostiBiznisId->text(), PisomnostiDatumOd(), PisomnostiDatumDo());
    if (!pisomnosti)
        return;
    QList<QStringList> rows;
    rows.reserve(pisomnosti->size());
    for (const TPisomnost& pisomnost : *pisomnosti)
        rows.append(PisomnostRow(pisomnost));
    FillRows(ui->lvPisomnosti, rows);
}

QTableWidget* TFrmORV::ActiveList() const {
    return ui->pgCtrlMain->currentWidget() == ui->tsPodania ? ui->lvPodania : ui->lvPisomnosti;
}

void TFrmORV::actKonfiguraciaUpdate() {
    ui->actKonfiguracia->setEnabled(true);
}

void TFrmORV::ActNovyEPHUpdate() {
    ui->ActNovyEPH->setEnabled(true);
}

void TFrmORV::ActZobrazitXMLUpdate() {
    ui->ActZobrazitXML->setEnabled(SelectedRow(ActiveList()) >= 0);
}

void TFrmORV::UpdateActions() {
    actKonfiguraciaUpdate();
    ActNovyEPHUpdate();
    ActZobrazitXMLUpdate();
}

void TFrmORV::lvPodaniaDblClick() {
    ActZobrazitXMLUpdate();
    ui->ActZobrazitXML->trigger();
}

void TFrmORV::lvPisomnostiDblClick() {
    ActZobrazitXMLUpdate();
    ui->ActZobrazitXML->trigger();
}

void TFrmORV::actKonfiguraciaExecute() {
    OrvGuard(this, [this] {
        TFrmORVKonfig dialog(this);
        dialog.exec();
    });
}

void TFrmORV::ActNovyEPHExecute() {
    OrvGuard(this, [this] {
        TFrmORVPodajEPH dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        TDialogs::Information(this, tr("EPH bol podaný!"));
        ui->pgCtrlMain->setCurrentWidget(ui->tsPodania);
        ui->btnPodaniaNacitat->click();
    });
}

void TFrmORV::ActZobrazitXMLExecute() {
    // The rule is checked once more right before the action runs.
    ActZobrazitXMLUpdate();
    if (!ui->ActZobrazitXML->isEnabled())
        return;
    OrvGuard(this, [this] { ShowContent(); });
}

void TFrmORV::ShowContent() {
    const bool podania = ui->pgCtrlMain->currentWidget() == ui->tsPodania;
    QTableWidget* list = podania ? ui->lvPodania : ui->lvPisomnosti;
    const int row = SelectedRow(list);
    if (row < 0)
        return;
    const QString id = list->item(row, 0)->text();

    QString caption;
    QString fileName;
    QString obsah;
    if (podania) {
        TPodanie podanie;
        DMORV().GetPodanie(id, podanie);
        caption = tr("Podanie ") + podanie.IdPodania;
        fileName = podanie.IdPodania;
        obsah = podanie.Obsah;
    } else {
        TPisomnost pisomnost;
        DMORV().GetSuborPisomnosti(id, pisomnost);
        caption = tr("Písomnosť ") + pisomnost.IdPisomnosti;
        fileName = pisomnost.IdPisomnosti;
        obsah = pisomnost.Obsah;
    }

    // Only a successful fetch opens the viewer.
    TFrmORVInfo viewer(this);
    viewer.SetCaption(caption);
    viewer.SetFileName(fileName);
    viewer.SetText(XmlDeclaration + QStringLiteral("\r\n") + obsah);
    viewer.exec();
}

void TFrmORV::ActJazykExecute() {
    OrvGuard(this, [this] {
        TFrmJazyk dialog(this);
        dialog.exec();
    });
}
