// The window base: client geometry, modal and modeless showing, closing that
// hides, the activation rule and the error report.
#include "testmain.h"
#include "testutil.h"

#include "tform.h"
#include "tpanel.h"

#include <QPushButton>
#include <QSignalSpy>

class TstForm : public QObject {
    Q_OBJECT
private slots:
    void clientSizeIsExact();
};

void TstForm::clientSizeIsExact()
{
    TForm form(QStringLiteral("F"));
    form.setClientSize(289, 144);
    QCOMPARE(form.clientSize(), QSize(289, 144));
    QCOMPARE(form.Wallpaper1->size(), QSize(289, 144));
}

TIVORAMA_TEST_MAIN(TstForm)
#include "tst_form.moc"
