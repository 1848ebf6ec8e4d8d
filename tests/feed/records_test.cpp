#include "feed/jmarec.h"

#include <gtest/gtest.h>

TEST(LockedList, PopsInPushOrderThenNothing)
{
    TDetailList list;
    TJmaRec a, b, c;
    PushRec(&list, &a);
    PushRec(&list, &b);
    PushRec(&list, &c);
    EXPECT_EQ(RecCount(&list), 3);
    EXPECT_EQ(PopRec(&list), &a);
    EXPECT_EQ(PopRec(&list), &b);
    EXPECT_EQ(PopRec(&list), &c);
    EXPECT_EQ(PopRec(&list), nullptr);
    EXPECT_EQ(RecCount(&list), 0);
}

TEST(LockedList, SamePointerTwiceGivesTwoEntries)
{
    TDetailList list;
    TJmaRec a;
    PushRec(&list, &a);
    PushRec(&list, &a);
    EXPECT_EQ(PopRec(&list), &a);
    EXPECT_EQ(PopRec(&list), &a);
}

TEST(LockedList, MissingListOrRecordDoesNothing)
{
    TDetailList list;
    PushRec<TJmaRec>(&list, nullptr);
    EXPECT_EQ(RecCount(&list), 0);
    TJmaRec a;
    PushRec<TJmaRec>(nullptr, &a);
    EXPECT_EQ(PopRec<TJmaRec>(nullptr), nullptr);
    EXPECT_EQ(RecCount<TJmaRec>(nullptr), 0);
}

TEST(EqHistRec, CarriesTheSummaryAndOwnsTheRecord)
{
    const struct {
        float magnitude;
        const char* text;
    } cases[] = {{0.0f, "0.0"}, {6.1f, "6.1"}, {7.1f, "7.1"}, {3.96f, "4.0"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        auto rec = std::make_unique<TJmaRec>();
        rec->Magnitude = c.magnitude;
        rec->EpicenterName = QStringLiteral("熊本県熊本地方");
        rec->Depth = QStringLiteral("10km");
        rec->Epicenter = {130.8f, 32.7f};
        TJmaRec* raw = rec.get();
        const auto env = MakeEqHistRec(std::move(rec));
        EXPECT_EQ(env->EqHistSite, asNewKisho);
        EXPECT_EQ(env->Magnitude, QString::fromLatin1(c.text));
        EXPECT_EQ(env->EpiCenterName, QStringLiteral("熊本県熊本地方"));
        EXPECT_EQ(env->Depth, QStringLiteral("10km"));
        EXPECT_FLOAT_EQ(env->EpiCenterPos.X, 130.8f);
        EXPECT_FALSE(env->AcquisitionTime.isNull());
        EXPECT_EQ(env->JmaRec.get(), raw);
        EXPECT_EQ(env->MapStream, nullptr);
    }
}

TEST(ReportTitles, OrderFollowsTheReportTypes)
{
    EXPECT_EQ(ReportTitles[rtNormal], QStringLiteral("震源・震度情報"));
    EXPECT_EQ(ReportTitles[rtIntensityOnly], QStringLiteral("震度速報"));
    EXPECT_EQ(ReportTitles[rtEpicenterChanged], QStringLiteral("顕著な地震の震源要素更新のお知らせ"));
    EXPECT_TRUE(ReportTitles[rtOthers].isEmpty());
}
