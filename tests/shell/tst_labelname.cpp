// A label's caption as the accessible name of the control it labels.

#include "shell/widgets/labelname.h"

#include <QtTest>

class TestLabelName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
};

void TestLabelName::names_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("name");
    QTest::newRow("full-width colon") << "秘笈名称：" << "秘笈名称";
    QTest::newRow("half-width colon") << "Size:" << "Size";
    QTest::newRow("outer blanks, then the colon") << "  字体： " << "字体";
    QTest::newRow("no colon") << "秘笈内容" << "秘笈内容";
    QTest::newRow("only the last colon goes") << "宽：：" << "宽：";
    QTest::newRow("a colon inside stays") << "a:b" << "a:b";
    QTest::newRow("full-width blanks are part of the caption") << "\u3000名：" << "\u3000名";
    QTest::newRow("empty") << "" << "";
}

void TestLabelName::names()
{
    QFETCH(QString, caption);
    QFETCH(QString, name);
    QCOMPARE(LabelName(caption), name);
}

QTEST_GUILESS_MAIN(TestLabelName)
#include "tst_labelname.moc"
