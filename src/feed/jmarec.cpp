#include "feed/jmarec.h"

const std::array<QString, 6> ReportTitles = {
    QStringLiteral("震源・震度情報"),
    QStringLiteral("震源に関する情報"),
    QStringLiteral("震度速報"),
    QStringLiteral("遠地地震に関する情報"),
    QStringLiteral("顕著な地震の震源要素更新のお知らせ"),
    QString(),
};

std::unique_ptr<TEqHistRec> MakeEqHistRec(std::unique_ptr<TJmaRec> Rec)
{
    auto env = std::make_unique<TEqHistRec>();
    env->EqHistSite = asNewKisho;
    env->AcquisitionTime = QDateTime::currentDateTime();
    env->EpiCenterName = Rec->EpicenterName;
    env->OccurDateTime = Rec->OccurTime;
    env->EpiCenterPos = Rec->Epicenter;
    env->Depth = Rec->Depth;
    env->Magnitude = QString::number(Rec->Magnitude, 'f', 1);
    env->JmaRec = std::move(Rec);
    return env;
}
