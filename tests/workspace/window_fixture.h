#pragma once

// The assessment window on a consultation of the real server on loopback, for the
// widget suites: shown and activated as the host shows it, closed after each test, the
// cells of its grids by field, and pictures of it for a person to look at.

#include "consultation_fixture.h"

#include "records/dataset_model.h"
#include "workspace/form/core_grid.h"
#include "workspace/form/tfrm_aval_nutr_energ.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace workspacetest {

class WindowTest : public ConsultationTest
{
protected:
    void TearDown() override
    {
        if (window)
            window->close();
        window.reset();
        ConsultationTest::TearDown();
    }

    // A new window on the consultation of the module context, shown and activated.
    workspace::TfrmAvalNutrEnerg& showWindow(const QSize& size = QSize(900, 640))
    {
        window = std::make_unique<workspace::TfrmAvalNutrEnerg>(server.transport());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->resize(size);
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(window->activate());
        return *window;
    }

    static const records::DataSet& dataSetOf(const QTableView* view)
    {
        return *static_cast<const records::DataSetModel*>(view->model())->dataSet();
    }
    static int columnOf(const QTableView* view, const QString& field)
    {
        return static_cast<const records::DataSetModel*>(view->model())->columnOf(field);
    }
    static QModelIndex cell(const QTableView* view, int row, const QString& field)
    {
        return view->model()->index(row, columnOf(view, field));
    }
    // The first row whose field holds the value; -1 when none does.
    static int rowOf(const QTableView* view, const QString& field, const QString& value)
    {
        const records::DataSet& ds = dataSetOf(view);
        for (int row = 0; row < ds.recordCount(); ++row) {
            if (ds.asStringAt(row, field) == value)
                return row;
        }
        return -1;
    }
    // A click in the middle of a cell, or on its list button.
    static void clickCell(QTableView* view, int row, const QString& field, bool button = false)
    {
        const QModelIndex index = cell(view, row, field);
        view->scrollTo(index);
        const QRect area = view->visualRect(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          button ? workspace::ellipsisRect(area).center() : area.center());
    }

    // The window as the user sees it, saved under this name in AVALNUTRI_SCREENSHOT_DIR
    // when set, else in the test's own temporary directory.
    QImage shoot(const QString& name)
    {
        const QImage shot = window->grab().toImage();
        EXPECT_EQ(shot.size(), window->size() * window->devicePixelRatio());
        const QString dir = qEnvironmentVariable("AVALNUTRI_SCREENSHOT_DIR");
        EXPECT_TRUE(shot.save(QDir(dir.isEmpty() ? shots.path() : dir).filePath(name)))
            << name.toStdString();
        return shot;
    }
    // The picture shows the widget: its area is not one flat colour (an empty or
    // unpainted grid would be).
    void expectShown(const QImage& shot, const QWidget& widget) const
    {
        const QRect area(widget.mapTo(window.get(), QPoint(0, 0)), widget.size());
        ASSERT_TRUE(QRect(QPoint(0, 0), window->size()).contains(area))
            << widget.objectName().toStdString();
        QSet<QRgb> colours;
        const qreal ratio = window->devicePixelRatio();
        for (int y = area.top(); y < area.bottom(); y += 3)
            for (int x = area.left(); x < area.right(); x += 3)
                colours.insert(shot.pixel(QPoint(int(x * ratio), int(y * ratio))));
        EXPECT_GT(colours.size(), 2) << widget.objectName().toStdString();
    }

    std::unique_ptr<workspace::TfrmAvalNutrEnerg> window;
    QTemporaryDir shots;
};

}  // namespace workspacetest
