#include "app/MapViewWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MapViewCanvas.h"
#include "document/NameTables.h"
#include "texts/ProgramTexts.h"

namespace morvi {
namespace {

QLabel* LegendEntry(const QColor& colour, const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setText(QStringLiteral("<span style='color:%1'>&#9632;</span> %2").arg(colour.name(), text.toHtmlEscaped()));
    return label;
}

}  // namespace

MapViewWindow::MapViewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("mapView"));
    setWindowTitle(QString::fromUtf8(Text(TextId::MenuMapView).data()));
    m_canvas = new MapViewCanvas(this);
    m_canvas->setObjectName(QStringLiteral("mapCanvas"));
    auto* fit = new QPushButton(QStringLiteral("Fit"), this);
    fit->setObjectName(QStringLiteral("mapFit"));
    fit->setToolTip(QString::fromUtf8(Text(TextId::MapViewFitTip).data()));
    connect(fit, &QPushButton::clicked, m_canvas, &MapViewCanvas::FitView);

    auto* legend = new QHBoxLayout;
    legend->addWidget(fit);
    for (int type : {0, 3, 4, 5})
        legend->addWidget(LegendEntry(MapTypeColour(type), QString::fromUtf8(std::string(NameOfCode(NpcTypeNames(), type)).c_str()), this));
    legend->addWidget(LegendEntry(MapTypeColour(-1), QString::fromUtf8(Text(TextId::MapViewOther).data()), this));
    auto* marks = new QLabel(QString::fromUtf8(Text(TextId::MapViewMarks).data()), this);
    legend->addWidget(marks);
    legend->addWidget(new QLabel(QString::fromUtf8(Text(TextId::MapViewEditMarks).data()), this));
    legend->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(legend);
    layout->addWidget(m_canvas, 1);
    resize(1040, 600);
}

void MapViewWindow::SetPoints(std::vector<MapPoint> points, const std::vector<int>& selectedRows) {
    m_canvas->Model().SetPoints(std::move(points));
    m_canvas->Model().SetSelectedRows(selectedRows);
    m_canvas->ModelChanged();
}

void MapViewWindow::SetSelectedRows(const std::vector<int>& rows) {
    m_canvas->Model().SetSelectedRows(rows);
    m_canvas->ModelChanged();
}

}  // namespace morvi
