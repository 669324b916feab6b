#include "commandrecorder.h"
#include "dialogs/dialogconfadicionales.h"
#include "dialogs/dialoginstrucciones.h"
#include "mainwindow.h"
#include "modaldriver.h"

#include <QAction>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

// The two dialogs of the "Ayuda" menu, opened from the main window.
class TestAuxDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void instructionsText();
    void instructionsWindow();
    void dialogsEndAndAreDeleted_data();
    void dialogsEndAndAreDeleted();
    void solucionarAppliesFixAndStaysOpen();
};

enum class Ending { Button, Escape, Close };
Q_DECLARE_METATYPE(Ending)

void TestAuxDialogs::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestAuxDialogs::instructionsText()
{
    const QString expected = QStringLiteral(
        "Centinela es un software de acceso a las distintas aplicaciones del sistema de control "
        "de instalaciones de la Universidad de Valdoria. \n\n"
        "Para su correcto funcionamiento es necesario tener instalado el cliente java del "
        "sistema SCADA en una maquina con sistema operativo de X64, en su defecto es posible "
        "usarlo para el cliente HTML5 siempre y cuando su máquina tenga instalado algún "
        "navegador de internet y conexión a ella.\n\n"
        "Los navegadores recomendados son \"Chrome\" y \"Mozilla\" actualizados a su última "
        "versión. Recuerde que es muy importante mantener actualizadas las aplicaciones para "
        "evitar problemas de seguridad.\n\n"
        "Si los accesos al cliente JAVA no funcionan, una posible solución es añadir a la "
        "carpeta de la aplicación \"Centinela\" un acceso directo del cliente Java llamado "
        "\"app\". Un motivo posible podría ser no haber instalado el software en la carpeta "
        "recomendada en la instalación.\n\n"
        "¡¡¡Importante!!!\n"
        "El usuario y contraseña quedaran guardados en la aplicación, tenga especial cuidado "
        "con sus datos de acceso al sistema, porque se quedarán guardados para la próxima vez "
        "que abra la aplicación. Si quiere borrar su usuario, solo debe abrir configuración de "
        "usuario y pulsar el botón de \"Borrar usuario\".\n\n"
        "Para nuevas versiones es necesario revisar ");

    DialogInstrucciones dialog;
    const QString text = dialog.findChild<QPlainTextEdit *>("plainTextEdit")->toPlainText();
    QVERIFY2(text.startsWith(expected), qPrintable(text));
    const QString address = text.mid(expected.size());
    QVERIFY(address.startsWith(QStringLiteral("https://")));
    QVERIFY(address.endsWith(u'\n'));
    QCOMPARE(address.count(u'\n'), 1);
}

void TestAuxDialogs::instructionsWindow()
{
    DialogInstrucciones dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Instrucciones"));
    QCOMPARE(dialog.size(), QSize(540, 420));
    // An ordinary window, not a dialog-type one.
    QCOMPARE(dialog.windowType(), Qt::Window);
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowShadeButtonHint));

    auto *text = dialog.findChild<QPlainTextEdit *>("plainTextEdit");
    QVERIFY(text->isReadOnly());
    dialog.show();
    const QString before = text->toPlainText();
    QTest::keyClicks(text, QStringLiteral("xyz"));
    QTest::keyClick(text, Qt::Key_Backspace);
    QCOMPARE(text->toPlainText(), before);
}

void TestAuxDialogs::dialogsEndAndAreDeleted_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<int>("result");

    QTest::newRow("instructions Ok") << "actionInstrucciones"
                                     << "pushButton" << Ending::Button << 1;
    QTest::newRow("instructions Escape") << "actionInstrucciones"
                                         << "pushButton" << Ending::Escape << 0;
    QTest::newRow("instructions close button") << "actionInstrucciones"
                                               << "pushButton" << Ending::Close << 0;
    QTest::newRow("settings Salir") << "actionConfiguraciones_extras"
                                    << "pushButtonSalir" << Ending::Button << 1;
    QTest::newRow("settings Escape") << "actionConfiguraciones_extras"
                                     << "pushButtonSalir" << Ending::Escape << 0;
    QTest::newRow("settings close button") << "actionConfiguraciones_extras"
                                           << "pushButtonSalir" << Ending::Close << 0;
}

void TestAuxDialogs::dialogsEndAndAreDeleted()
{
    QFETCH(QString, action);
    QFETCH(QString, button);
    QFETCH(Ending, ending);
    QFETCH(int, result);

    MainWindow window;
    QPointer<QDialog> opened;
    std::unique_ptr<QSignalSpy> finished;
    const auto end = [&](QDialog *dialog) {
        opened = dialog;
        finished = std::make_unique<QSignalSpy>(dialog, &QDialog::finished);
        switch (ending) {
        case Ending::Button:
            dialog->findChild<QPushButton *>(button)->click();
            break;
        case Ending::Escape:
            QTest::keyClick(dialog, Qt::Key_Escape);
            break;
        case Ending::Close:
            dialog->close();
            break;
        }
    };
    if (action == QLatin1String("actionInstrucciones"))
        whenVisible<DialogInstrucciones>(end);
    else
        whenVisible<DialogConfAdicionales>(end);
    window.findChild<QAction *>(action)->trigger();

    // The first result is what exec() returned; the window's own reject() afterwards adds one.
    QVERIFY(finished);
    QVERIFY(!finished->isEmpty());
    QCOMPARE(finished->first().first().toInt(), result);
    QVERIFY(!opened);
}

void TestAuxDialogs::solucionarAppliesFixAndStaysOpen()
{
    CommandRecorder recorder;
    DialogConfAdicionales dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuraciones adicionales"));
    dialog.show();
    auto *solucionar = dialog.findChild<QPushButton *>("pushButtonGrafica");

    for (int press = 1; press <= 2; ++press) {
        // Read in the box, compared after it is answered: a failed check must not leave it open.
        bool answered = false;
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        Qt::WindowModality modality = Qt::NonModal;
        QList<QMessageBox::StandardButton> buttons;
        QList<QSize> iconSizes;
        whenVisible<QMessageBox>([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            modality = box->windowModality();
            for (QAbstractButton *button : box->buttons())
                buttons.append(box->standardButton(button));
            iconSizes = box->windowIcon().availableSizes();
            answered = true;
            box->button(QMessageBox::Ok)->click();
        });
        solucionar->click();
        QVERIFY(answered);
        QCOMPARE(title, QStringLiteral("Información"));
        QCOMPARE(text,
                 QStringLiteral("Debe reiniciar el ordenador para que la "
                                "configuración tenga efecto"));
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(modality, Qt::ApplicationModal);
        QCOMPARE(buttons, QList<QMessageBox::StandardButton> {QMessageBox::Ok});
        QVERIFY(iconSizes.contains(QSize(150, 150)));
        QCOMPARE(recorder.commands.size(), press);
        QCOMPARE(recorder.commands.last(), QByteArray("setx _JAVA_OPTIONS -Dsun.java2d.d3d=false"));
        QVERIFY(dialog.isVisible());
    }
}

QTEST_MAIN(TestAuxDialogs)
#include "tst_auxdialogs.moc"
