#include "mainwindow.h"

#include <QMouseEvent>
#include <QStandardPaths>
#include <QTest>

// Calls the handlers directly: QApplication would round a synthesised event's global position
// to whole pixels, and the fractions matter here.
class DraggedWindow : public MainWindow
{
public:
    using MainWindow::mouseMoveEvent;
    using MainWindow::mousePressEvent;
    using MainWindow::mouseReleaseEvent;
};

// Dragging the main window by its body.
class TestDragging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void dragMovesWindow_data();
    void dragMovesWindow();
    void anchorAtOriginIsTakenAgain();
    void releaseForgetsAnchorAndRestoresCursor();

private:
    static void press(DraggedWindow *window, Qt::MouseButton button);
    static void moveTo(DraggedWindow *window, QPointF position, QPointF global,
                       Qt::MouseButton button);
    static void release(DraggedWindow *window, Qt::MouseButton button);
};

void TestDragging::press(DraggedWindow *window, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(5, 5), window->mapToGlobal(QPointF(5, 5)),
                      button, button, Qt::NoModifier);
    window->mousePressEvent(&event);
}

void TestDragging::moveTo(DraggedWindow *window, QPointF position, QPointF global,
                          Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseMove, position, global, Qt::NoButton, button, Qt::NoModifier);
    window->mouseMoveEvent(&event);
}

void TestDragging::release(DraggedWindow *window, Qt::MouseButton button)
{
    QMouseEvent event(QEvent::MouseButtonRelease, QPointF(5, 5), window->mapToGlobal(QPointF(5, 5)),
                      button, Qt::NoButton, Qt::NoModifier);
    window->mouseReleaseEvent(&event);
}

void TestDragging::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestDragging::dragMovesWindow_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPointF>("grab");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPoint>("expected");

    // The anchor is the grab position rounded; the window lands 30 px above the plain
    // difference, and the fractions are cut toward zero.
    QTest::newRow("left") << Qt::LeftButton << QPointF(10, 20) << QPointF(300, 400)
                          << QPoint(290, 350);
    QTest::newRow("right") << Qt::RightButton << QPointF(10, 20) << QPointF(300, 400)
                           << QPoint(290, 350);
    QTest::newRow("middle") << Qt::MiddleButton << QPointF(10, 20) << QPointF(300, 400)
                            << QPoint(290, 350);
    QTest::newRow("rounding") << Qt::LeftButton << QPointF(10.4, 20.6) << QPointF(300.7, 400.2)
                              << QPoint(290, 349);
    QTest::newRow("halves away from zero")
        << Qt::LeftButton << QPointF(2.5, -2.5) << QPointF(100, 100) << QPoint(97, 73);
    QTest::newRow("truncation toward zero")
        << Qt::LeftButton << QPointF(10, 10) << QPointF(0.3, 39.5) << QPoint(-9, 0);
}

void TestDragging::dragMovesWindow()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPointF, grab);
    QFETCH(QPointF, pointer);
    QFETCH(QPoint, expected);

    DraggedWindow window;
    window.move(50, 60);
    press(&window, button);
    QCOMPARE(window.cursor().shape(), Qt::ClosedHandCursor);

    moveTo(&window, grab, grab + QPointF(50, 60), button);
    QCOMPARE(window.pos(), QPoint(50, 60));
    moveTo(&window, pointer - QPointF(50, 60), pointer, button);
    QCOMPARE(window.pos(), expected);
}

void TestDragging::anchorAtOriginIsTakenAgain()
{
    DraggedWindow window;
    window.move(50, 60);
    press(&window, Qt::LeftButton);
    moveTo(&window, QPointF(0.4, -0.4), QPointF(50.4, 59.6), Qt::LeftButton);
    moveTo(&window, QPointF(5, 6), QPointF(100, 100), Qt::LeftButton);
    QCOMPARE(window.pos(), QPoint(50, 60));
    moveTo(&window, QPointF(0, 0), QPointF(200, 300), Qt::LeftButton);
    QCOMPARE(window.pos(), QPoint(195, 264));
}

void TestDragging::releaseForgetsAnchorAndRestoresCursor()
{
    DraggedWindow window;
    window.move(50, 60);
    press(&window, Qt::LeftButton);
    moveTo(&window, QPointF(10, 10), QPointF(60, 70), Qt::LeftButton);
    release(&window, Qt::LeftButton);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);

    press(&window, Qt::LeftButton);
    moveTo(&window, QPointF(20, 20), QPointF(70, 80), Qt::LeftButton);
    QCOMPARE(window.pos(), QPoint(50, 60));
    moveTo(&window, QPointF(0, 0), QPointF(120, 180), Qt::LeftButton);
    QCOMPARE(window.pos(), QPoint(100, 130));
}

QTEST_MAIN(TestDragging)
#include "tst_dragging.moc"
