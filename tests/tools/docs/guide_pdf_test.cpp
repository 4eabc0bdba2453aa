// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/docs/app_icon.h"
#include "tools/docs/guide_pdf.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class GuidePdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(CAppIcon::Image(64).save(m_folder.filePath("picture.png")));
    }
    QString Output() const { return m_folder.filePath("Users Guide.pdf"); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(GuidePdfTest, AGuideWithItsPicturesBecomesAPdf) {
    QString error;
    ASSERT_TRUE(RenderGuidePdf("# Guide\n\n![A picture](picture.png)\n\n## Chapter\n\nText.\n",
                               m_folder.path(), Output(), &error))
        << error.toStdString();
    const QByteArray pdf = Read(Output());
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("/Image")) << "the picture is in the file";
}

TEST_F(GuidePdfTest, AMissingPictureFailsAndLeavesThePreviousGuide) {
    QFile previous(Output());
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("previous guide");
    previous.close();

    QString error;
    EXPECT_FALSE(
        RenderGuidePdf("# Guide\n\n![Gone](missing.png)\n", m_folder.path(), Output(), &error));
    EXPECT_TRUE(error.contains("missing.png")) << error.toStdString();
    EXPECT_EQ(Read(Output()), QByteArray("previous guide"));
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files).size(), 2) << "no temporary left";

    EXPECT_FALSE(RenderGuidePdf("# Guide\n", m_folder.filePath("no/such/folder"),
                                m_folder.filePath("no/such/folder/out.pdf"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(AppIconTest, TheSvgAndThePixelsShowTheSameShapes) {
    const QString svg = CAppIcon::Svg();
    EXPECT_TRUE(svg.startsWith("<?xml"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 256 256\""));
    // The tile's colour fills the centre of its left edge at every size; the corners stay
    // transparent.
    EXPECT_TRUE(svg.contains("fill=\"#2e7d32\""));
    for (int size : {16, 48, 256}) {
        const QImage image = CAppIcon::Image(size);
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(image.pixelColor(size / 16, size / 2), QColor("#2e7d32")) << size;
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << size;
    }
}

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
