#include "intensitymap/imagelist.h"

#include <array>

namespace {

const std::array<const char*, ImageList1Count> pictureNames = {
    "Shindo_0_64",   "Shindo_1_64",          "Shindo_2_64",       "Shindo_3_64",    "Shindo_4_64",
    "Shindo_5-_64",  "Shindo_5+_64",         "Shindo_6-_64",      "Shindo_6+_64",   "Shindo_7_64",
    "Shindo_Info_Green_64", "Shindo_Training_64", "Epicenter_64", "Epicenter_64_2", "EpiCenterInfo_64",
    "FarEq_64",      "EpiCenterInfo_64_2",
};

}  // namespace

std::vector<QImage> ImageList1()
{
    std::vector<QImage> pictures;
    pictures.reserve(pictureNames.size());
    for (const char* name : pictureNames) {
        const QString path = QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".png");
        pictures.push_back(QImage(path).convertToFormat(QImage::Format_ARGB32));
    }
    return pictures;
}

int ShindoToImageIndex(const QString& Text)
{
    static const std::array<const char16_t*, 9> texts = {u"1", u"2", u"3", u"4", u"5-", u"5+", u"6-", u"6+", u"7"};
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (Text == QStringView(texts[i]))
            return static_cast<int>(i) + 1;
    return 0;
}
