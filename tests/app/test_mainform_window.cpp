// The real window against a feed over HTTPS on 127.0.0.1.

#include "app/mainform.h"
#include "app/switch.h"
#include "core/log.h"
#include "democert.h"
#include "demoserver.h"
#include "feed/jmaaccess.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QToolButton>
#include <QTreeWidget>

#include <mutex>

namespace {

const QString UpdateNotice = QStringLiteral("20260728203023_20260728162718_VXSE61_0.json");
const QString Epicentre = QStringLiteral("20260728163148_20260728162718_VXSE5k_1.json");
const QString EarlyIntensity = QStringLiteral("20260728162848_20260728162718_VXSE51_0.json");
const QColor Green(0x00, 0x80, 0x00);
const QColor Silver(0xC0, 0xC0, 0xC0);

QByteArray ReadTestData(const QString& Name)
{
    QFile file(QStringLiteral(TAVREL_TEST_DATA "/") + Name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << Name.toStdString();
    return file.readAll();
}

class MainFormWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        ASSERT_TRUE(FFolder.isValid());
        const TDemoCert cert = MakeDemoCert(FFolder.path());
        FCaFile = cert.CaFile;
        FList = ReadTestData(QStringLiteral("list_kumamoto.json"));
        FServer = std::make_unique<TDemoFeedServer>(cert, [this](int) {
            std::lock_guard lock(FLock);
            return FList;
        });
        for (const QString& name : {UpdateNotice, Epicentre, EarlyIntensity})
            FServer->AddDocument(name, ReadTestData(name));
    }

    void TearDown() override
    {
        Form.reset();
        FServer.reset();
        QLocale::setDefault(QLocale::c());
    }

    void Open(bool AutoDetails = true, int DetailTimeoutMs = 10000)
    {
        TMainFormOptions options;
        options.Endpoint = FServer->BaseUrl();
        options.CaFile = FCaFile;
        options.Folder = FFolder.path();
        options.DetailTimeoutMs = DetailTimeoutMs;
        options.AccessIntervalSec = 300;
        Form = std::make_unique<TMainForm>(options);
        Form->Switch1->setChecked(AutoDetails);
        Form->show();
    }

    bool WaitForReports(int Count)
    {
        return QTest::qWaitFor([&] { return Form->ListView1->count() == Count; }, 10000);
    }

    bool WaitForAccessEnd()
    {
        return QTest::qWaitFor([&] { return Form->AccessLED->Fill() == Silver; }, 10000);
    }

    void Click(int Row)
    {
        QListWidget* list = Form->ListView1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(Row)).center());
    }

    QString Cell(int Row, int Column) const { return Form->StringGrid1->item(Row, Column)->text(); }

    QTemporaryDir FFolder;
    QString FCaFile;
    std::mutex FLock;
    QByteArray FList;
    std::unique_ptr<TDemoFeedServer> FServer;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(MainFormWindow, ReportsArriveOldestFirstAndOnlyTheNewestIsShown)
{
    Open();
    ASSERT_TRUE(WaitForReports(3));
    QListWidget* list = Form->ListView1;
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("07/28 16:27:00"));
    EXPECT_EQ(list->item(0)->data(TMainForm::DetailRole).toString(), QStringLiteral("震度速報"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("07/28 16:27 熊本県熊本地方"));
    EXPECT_EQ(list->item(1)->data(TMainForm::DetailRole).toString(), QStringLiteral("M7.1  32.6N 130.7E  10km"));
    EXPECT_EQ(list->item(2)->data(TMainForm::DetailRole).toString(), QStringLiteral("顕著な地震の震源要素更新のお知らせ"));
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_EQ(Form->TitleLabel->text(), QStringLiteral("顕著な地震の震源要素更新のお知らせ"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("熊本県熊本地方 (741)"));

    ASSERT_TRUE(QTest::qWaitFor([&] { return list->isEnabled() && Form->Label7->text() == QStringLiteral("3 / 3"); }, 10000));
    EXPECT_EQ(FServer->DetailRequests(UpdateNotice), 1);
    EXPECT_EQ(FServer->DetailRequests(Epicentre), 0);
    EXPECT_EQ(FServer->DetailRequests(EarlyIntensity), 0);
    EXPECT_EQ(Form->Edit1->text(), QStringLiteral("URL: ") + FServer->BaseUrl() + QStringLiteral("/bosai/quake/data/") + UpdateNotice);
    EXPECT_FALSE(Form->Memo1->toPlainText().isEmpty()) << "the headline of the update notice";
}

TEST_F(MainFormWindow, WithTheSwitchOffNewReportsAreSelectedButNotShown)
{
    Open(false);
    ASSERT_TRUE(WaitForReports(3));
    ASSERT_TRUE(WaitForAccessEnd());
    EXPECT_EQ(Form->ListView1->currentRow(), 2);
    EXPECT_TRUE(Form->TitleLabel->text().isEmpty());
    EXPECT_TRUE(Cell(0, 1).isEmpty());
    EXPECT_TRUE(Form->ListView1->isEnabled());
    EXPECT_EQ(Form->Label7->text(), QStringLiteral("3 / 3"));
    QTest::qWait(300);
    EXPECT_EQ(FServer->DetailRequests(UpdateNotice), 0);
}

TEST_F(MainFormWindow, ClickingAReportFetchesItsDetailsOnce)
{
    Open(false);
    ASSERT_TRUE(WaitForReports(3));
    ASSERT_TRUE(WaitForAccessEnd());

    Click(1);
    EXPECT_FALSE(Form->ListView1->isEnabled());
    EXPECT_EQ(Form->Label7->text(), QStringLiteral("2 / 3"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("2026/07/28 16:27"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->ListView1->isEnabled(); }, 10000));
    EXPECT_EQ(FServer->DetailRequests(Epicentre), 1);
    EXPECT_GT(Form->TreeView1->topLevelItemCount(), 0);

    Click(1);
    EXPECT_TRUE(Form->ListView1->isEnabled()) << "details already read are shown at once";
    EXPECT_GT(Form->TreeView1->topLevelItemCount(), 0);
    QTest::qWait(300);
    EXPECT_EQ(FServer->DetailRequests(Epicentre), 1);
}

TEST_F(MainFormWindow, ARequestThatNeverReturnsGivesTheListBackAndIsNotRepeated)
{
    Open(false, 400);
    ASSERT_TRUE(WaitForReports(3));
    ASSERT_TRUE(WaitForAccessEnd());
    FServer->SetStall(true);

    Click(1);
    EXPECT_FALSE(Form->ListView1->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->AccessLED->Fill() == Green; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->ListView1->isEnabled(); }, 5000));
    EXPECT_EQ(Form->AccessLED->Fill(), Green) << "the request is still stalled";

    Click(1);
    EXPECT_TRUE(Form->ListView1->isEnabled()) << "an outstanding request is not asked again";
    EXPECT_EQ(RecCount(Form->DetailRequestList.get()), 0);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("熊本県熊本地方 (741)")) << "the summary is shown meanwhile";

    QElapsedTimer closing;
    closing.start();
    Form->close();
    Form.reset();
    EXPECT_LT(closing.elapsed(), 1000) << "closing must not wait for the stalled request";
}

TEST_F(MainFormWindow, LateDetailsDoNotReplaceTheReportChosenMeanwhile)
{
    Open(false, 400);
    ASSERT_TRUE(WaitForReports(3));
    ASSERT_TRUE(WaitForAccessEnd());
    Click(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->ListView1->isEnabled(); }, 10000));
    ASSERT_EQ(Form->TreeView1->topLevelItemCount(), 7);

    FServer->SetStall(true);
    Click(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->AccessLED->Fill() == Green; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->ListView1->isEnabled(); }, 5000));
    Click(0);
    FServer->SetStall(false);
    ASSERT_TRUE(WaitForAccessEnd());
    QTest::qWait(400);

    EXPECT_EQ(Form->TitleLabel->text(), QStringLiteral("震度速報"));
    EXPECT_EQ(Form->TreeView1->topLevelItemCount(), 7) << "still the tree of the early intensity report";
    Click(1);
    EXPECT_EQ(Form->TreeView1->topLevelItemCount(), 19) << "the late details were kept for their report";
    EXPECT_EQ(FServer->DetailRequests(Epicentre), 1);
}

TEST_F(MainFormWindow, PollNowTwiceGivesOnePollAndTheIndicatorLightsMeanwhile)
{
    Open(false);
    ASSERT_TRUE(WaitForReports(3));
    ASSERT_TRUE(WaitForAccessEnd());
    ASSERT_EQ(FServer->ListRequests(), 1);

    FServer->SetStall(true);
    Form->SpeedButton2->click();
    Form->SpeedButton5->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->AccessLED->Fill() == Green; }, 10000));
    FServer->SetStall(false);
    ASSERT_TRUE(WaitForAccessEnd());
    EXPECT_EQ(FServer->ListRequests(), 2);
    QTest::qWait(500);
    EXPECT_EQ(FServer->ListRequests(), 2);
    EXPECT_EQ(Form->ListView1->count(), 3) << "a list without news adds nothing";
}

TEST_F(MainFormWindow, TheSearchBoxFiltersAndItsToggleEmptiesIt)
{
    Open(false);
    ASSERT_TRUE(WaitForReports(3));
    EXPECT_FALSE(Form->SearchBox->isVisible());
    Form->SpeedButton1->click();
    ASSERT_TRUE(Form->SearchBox->isVisible());
    Form->SearchBox->setText(QStringLiteral("熊本"));
    EXPECT_TRUE(Form->ListView1->item(0)->isHidden());
    EXPECT_FALSE(Form->ListView1->item(1)->isHidden());
    EXPECT_TRUE(Form->ListView1->item(2)->isHidden());

    Form->SpeedButton1->click();
    EXPECT_FALSE(Form->SearchBox->isVisible());
    EXPECT_TRUE(Form->SearchBox->text().isEmpty());
    EXPECT_FALSE(Form->ListView1->item(0)->isHidden());
}

TEST_F(MainFormWindow, ShowingAReportEmptiesWhatShowedTheLastOne)
{
    Open(false);
    TJmaRec others;
    others.ReportType = rtOthers;
    others.Title = QStringLiteral("南海トラフ地震関連解説情報");
    others.ReportTime = QDateTime(QDate(2023, 12, 7), QTime(17, 0), QTimeZone::utc());
    Form->CommentBox->setText(QStringLiteral("old comment"));
    Form->Memo1->setPlainText(QStringLiteral("old text"));
    Form->TreeView1->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("old item")}));

    Form->ShowItem(others);
    EXPECT_TRUE(Form->CommentBox->text().isEmpty());
    EXPECT_TRUE(Form->Memo1->toPlainText().isEmpty());
    EXPECT_EQ(Form->TreeView1->topLevelItemCount(), 0);
    EXPECT_EQ(Form->TabControl1->currentWidget(), Form->TabItem1);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("発表日時"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("2023/12/07 17:00"));

    TJmaRec quake;
    quake.Title = ReportTitles[rtEpicenterOnly];
    quake.ReportType = rtEpicenterOnly;
    Form->ShowItem(quake);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("発生日時"));
    EXPECT_EQ(Form->TabControl1->currentWidget(), Form->TabItem2);
    EXPECT_EQ(Form->TitleLabel->text(), ReportTitles[rtEpicenterOnly]);
}

TEST_F(MainFormWindow, ClosingSavesTheSettingsAndLogsStartAndEnd)
{
    QFile old(FFolder.filePath(QStringLiteral("Tavrel.ini")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("[Form]\r\nTitleColor=$FF112233\r\n");
    old.close();
    Open(false);
    ASSERT_TRUE(WaitForReports(3));
    EXPECT_EQ(Form->Rectangle1->Fill(), QColor(0x11, 0x22, 0x33));
    Form->close();
    Form.reset();

    QFile ini(FFolder.filePath(QStringLiteral("Tavrel.ini")));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(ini.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QStringList keys;
    for (const QString& line : lines) {
        if (line.contains(u'='))
            keys << line.section(u'=', 0, 0);
    }
    EXPECT_EQ(keys.size(), 18) << keys.join(u' ').toStdString();
    EXPECT_TRUE(keys.contains(QStringLiteral("MainLeft")));
    EXPECT_TRUE(keys.contains(QStringLiteral("KenkyoBlend")));
    EXPECT_TRUE(lines.contains(QStringLiteral("TitleColor=$FF112233")));

    QFile log(FFolder.filePath(QStringLiteral("Tavrel.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(":Tavrel-Start\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral(":Tavrel-Terminate\r\n")));
    EXPECT_LT(text.indexOf(QStringLiteral("Tavrel-Start")), text.indexOf(QStringLiteral("Tavrel-Terminate")));
}

}  // namespace
