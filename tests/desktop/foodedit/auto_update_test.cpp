// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic food-data update against a server of the test's own on 127.0.0.1: what a
// good file, a bad line and every broken transfer do to the open user's food database.
#include "tests/desktop/frame/shell_test_support.h"

#include "core/food/food_csv.h"
#include "desktop/foodedit/auto_update_dialog.h"

#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <fstream>
#include <map>

using namespace fitquill;
using namespace fitquill::test;
namespace fs = std::filesystem;

namespace {

std::string FoodLine(const std::string& name, const std::string& group, const std::string& category,
                     int calories) {
    return name + "," + name + ",1.00,item,Y,0.00,,N," + std::to_string(calories) +
           ",1.0,2.0,3.0,4.0,5.0," + group + "," + category + ",\r\n";
}

// A minimal HTTP/1.1 server for one test: each path answers with a canned response. "stall"
// answers the headers and a little of the body, then nothing.
class CTestServer : public QObject {
public:
    struct SResponse {
        QByteArray head; // status line and headers, without the blank line
        QByteArray body;
        bool stall = false;
        bool closeEarly = false; // Content-Length says more than is sent, then the line closes
    };

    CTestServer() {
        EXPECT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Answer(socket); });
        });
    }

    QString Url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
    }
    void Serve(const QByteArray& path, SResponse response) { m_routes[path] = response; }
    void ServeFile(const QByteArray& path, const QByteArray& body) {
        Serve(path, {"HTTP/1.1 200 OK\r\nContent-Type: text/csv\r\nContent-Length: " +
                         QByteArray::number(body.size()),
                     body});
    }

private:
    void Answer(QTcpSocket* socket) {
        const QByteArray request = socket->readAll();
        const QByteArray path = request.split(' ').value(1).mid(1);
        auto route = m_routes.find(path);
        if (route == m_routes.end()) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\n"
                          "not found");
            socket->disconnectFromHost();
            return;
        }
        const SResponse& response = route->second;
        socket->write(response.head + "\r\nConnection: close\r\n\r\n");
        if (response.stall) {
            socket->write(response.body.left(10));
            socket->flush();
            return;
        }
        socket->write(response.closeEarly ? response.body.left(response.body.size() / 2)
                                          : response.body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    std::map<QByteArray, SResponse> m_routes;
};

class CFakeConnectivity : public IConnectivity {
public:
    bool IsOnline() override { return online; }
    bool Connect() override {
        ++dials;
        return online;
    }
    bool online = true;
    int dials = 0;
};

class AutoUpdate : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        AddUser("Ann", kAnnId);
        Remember("Ann");
        Start();
        ASSERT_TRUE(m_data->HasOpenUser());
        const std::string start =
            FoodLine("Brie", "Dairy", "Cheese", 95) + FoodLine("Own Bread", "Mine", "Baked", 120);
        ASSERT_TRUE(
            CFoodCsv::ImportText(m_data->FoodDB(), start, EFoodImportMode::ImportedWins).ok);
        m_data->Journal().SetModified(false);
        m_before = Export();
        m_localFile = QString::fromStdString((m_folder / "cache" / "temp.csv").string());
        m_dialog = std::make_unique<CAutoUpdateDialog>(
            *m_data, m_connectivity, QString::fromStdString(m_folder.string()), m_localFile);
        QObject::connect(&*m_data, &CDietData::ReloadFoodTreeSent, [this] { ++m_reloads; });
    }
    void TearDown() override {
        m_dialog.reset();
        ShellTest::TearDown();
    }

    std::string Export() const { return CFoodCsv::ExportText(m_data->FoodDB()).value_or("?"); }

    // Points a choice at an address and runs Update until the download has been handled.
    void UpdateFrom(const QString& url, EFoodUpdateChoice choice = EFoodUpdateChoice::Extensions) {
        m_data->Settings().Store().setValue(
            QStringLiteral("InstallPath/") +
                QString::fromLatin1(SFoodUpdate::SettingKey(choice).data()),
            url);
        m_dialog->SetChoice(choice);
        QSignalSpy ended(m_dialog.get(), &CAutoUpdateDialog::UpdateEnded);
        m_dialog->Update();
        if (ended.isEmpty()) {
            ASSERT_TRUE(ended.wait(10000)) << "the update never ended";
        }
    }

    // The one message shown since the start, or a failure.
    QString OnlyMessage() {
        const auto texts = ShownTexts();
        EXPECT_EQ(texts.size(), 1u);
        return texts.empty() ? QString() : texts.back();
    }

    void ExpectUnchanged() {
        EXPECT_EQ(Export(), m_before);
        EXPECT_FALSE(m_data->IsModified());
        EXPECT_EQ(m_reloads, 0);
        EXPECT_TRUE(m_dialog->UpdateButton()->isEnabled());
    }

    CTestServer m_server;
    CFakeConnectivity m_connectivity;
    std::unique_ptr<CAutoUpdateDialog> m_dialog;
    std::string m_before;
    QString m_localFile;
    int m_reloads = 0;
};

QByteArray Chunk(const QByteArray& data) {
    return QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n";
}

const QByteArray kExtension = QByteArray::fromStdString(FoodLine("Brie", "Dairy", "Cheese", 100) +
                                                        FoodLine("Gouda", "Dairy", "Cheese", 110));

TEST_F(AutoUpdate, ExtensionFileAddsAndReplacesKeepingTheUsersOwnItems) {
    m_server.ServeFile("Extensions.csv", kExtension);
    UpdateFrom(m_server.Url("Extensions.csv"));
    const std::string after = Export();
    EXPECT_NE(after.find("Gouda"), std::string::npos);
    EXPECT_NE(after.find("Brie,Brie,1.00,item,Y,0.00,,N,100,"), std::string::npos);
    EXPECT_NE(after.find("Own Bread"), std::string::npos);
    EXPECT_TRUE(m_data->IsModified());
    EXPECT_EQ(m_reloads, 1);
    EXPECT_EQ(OnlyMessage(), "The food database was successfully updated.");
    EXPECT_FALSE(QFile::exists(m_localFile)) << "the downloaded file is deleted once imported";
}

TEST_F(AutoUpdate, ReloadReplacesEverythingAndRedirectsAreFollowed) {
    m_server.ServeFile("FoodDB.csv",
                       QByteArray::fromStdString(FoodLine("Kiwi", "Fruit", "Fresh", 40)));
    m_server.Serve("moved",
                   {"HTTP/1.1 302 Found\r\nLocation: /FoodDB.csv\r\nContent-Length: 0", {}});
    UpdateFrom(m_server.Url("moved"), EFoodUpdateChoice::Reload);
    EXPECT_EQ(Export(), FoodLine("Kiwi", "Fruit", "Fresh", 40));
    EXPECT_EQ(m_reloads, 1);
}

TEST_F(AutoUpdate, AChunkedBodyThatEndsProperlyIsTaken) {
    m_server.Serve("chunked", {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked",
                               Chunk(kExtension.left(7)) + Chunk(kExtension.mid(7)) + "0\r\n\r\n"});
    UpdateFrom(m_server.Url("chunked"));
    EXPECT_NE(Export().find("Gouda"), std::string::npos);
    EXPECT_EQ(OnlyMessage(), "The food database was successfully updated.");
}

TEST_F(AutoUpdate, DefaultAddressIsTheShippedFileAndWorksOffline) {
    std::ofstream(m_folder / "Extensions.csv", std::ios::binary) << kExtension.toStdString();
    m_connectivity.online = false;
    m_data->Settings().Store().remove(QStringLiteral("InstallPath/FoodDBExtensions"));
    QSignalSpy ended(m_dialog.get(), &CAutoUpdateDialog::UpdateEnded);
    m_dialog->Update();
    ASSERT_TRUE(ended.wait(10000));
    EXPECT_NE(Export().find("Gouda"), std::string::npos);
    EXPECT_EQ(m_connectivity.dials, 0);
}

TEST_F(AutoUpdate, BadLineChangesNothingAndNamesTheLine) {
    m_server.ServeFile("Extensions.csv",
                       kExtension + "Broken,line\r\n" +
                           QByteArray::fromStdString(FoodLine("Edam", "Dairy", "Cheese", 1)));
    UpdateFrom(m_server.Url("Extensions.csv"));
    ExpectUnchanged();
    EXPECT_EQ(OnlyMessage(), "The downloaded food data could not be imported: line 3 is not "
                             "valid.  The food database was not changed.");
    EXPECT_TRUE(QFile::exists(m_localFile)) << "the file is kept to look at";
}

TEST_F(AutoUpdate, BrokenTransfersChangeNothingAndSaySo) {
    SFoodUpdate::SLimits limits;
    limits.maxBytes = 4096;
    limits.stallMilliseconds = 300;
    limits.maxRedirects = 3;
    m_dialog->SetLimits(limits);
    const QByteArray big(5000, 'x');
    m_server.Serve("short",
                   {"HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(kExtension.size()),
                    kExtension, false, true});
    m_server.Serve("big", {"HTTP/1.1 200 OK\r\nContent-Length: 5000", big});
    m_server.Serve("big-unannounced", {"HTTP/1.1 200 OK", big});
    m_server.Serve("stall", {"HTTP/1.1 200 OK\r\nContent-Length: 1000", kExtension, true});
    m_server.Serve("loop", {"HTTP/1.1 302 Found\r\nLocation: /loop\r\nContent-Length: 0", {}});
    m_server.Serve("to-file",
                   {"HTTP/1.1 302 Found\r\nLocation: file:///etc/passwd\r\nContent-Length: 0", {}});
    // Cut after its first line: nothing but the closed connection ends these bodies.
    const QByteArray firstLine = kExtension.left(kExtension.indexOf('\n') + 1);
    m_server.Serve("no-length", {"HTTP/1.1 200 OK", firstLine});
    m_server.Serve("chunked-cut",
                   {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked", Chunk(firstLine)});
    m_server.ServeFile("mid-line", kExtension.left(kExtension.size() - 5));
    m_server.ServeFile("empty", {});
    const std::vector<std::pair<QString, QString>> cases{
        {"short", "interrupted"},           {"missing", "404"},        {"big", "larger than"},
        {"big-unannounced", "larger than"}, {"stall", "sent nothing"}, {"loop", "too many times"},
        {"to-file", "cannot be used"},      {"no-length", "how long"}, {"chunked-cut", "closed"},
        {"mid-line", "middle of a line"},   {"empty", "no food data"},
    };
    size_t shown = 0;
    for (const auto& [path, says] : cases) {
        SCOPED_TRACE(path.toStdString());
        UpdateFrom(m_server.Url(path));
        ExpectUnchanged();
        const auto texts = ShownTexts();
        ASSERT_EQ(texts.size(), shown + 1);
        EXPECT_TRUE(texts.back().contains(says)) << texts.back().toStdString();
        EXPECT_LE(texts.back().size(), 255);
        shown = texts.size();
    }
}

TEST_F(AutoUpdate, ClosingMidDownloadCancelsAndTouchesNothing) {
    m_server.Serve("stall", {"HTTP/1.1 200 OK\r\nContent-Length: 1000", kExtension, true});
    m_data->Settings().Store().setValue(QStringLiteral("InstallPath/FoodDBExtensions"),
                                        m_server.Url("stall"));
    m_dialog->Update();
    ProcessEventsFor(100);
    EXPECT_TRUE(m_dialog->IsDownloading());
    EXPECT_FALSE(m_dialog->UpdateButton()->isEnabled());
    m_dialog->reject();
    m_dialog.reset();
    ProcessEventsFor(100);
    EXPECT_EQ(Export(), m_before);
    EXPECT_TRUE(ShownTexts().empty());
}

TEST_F(AutoUpdate, OfflineWithAFailedConnectionEndsQuietly) {
    m_connectivity.online = false;
    m_server.ServeFile("Extensions.csv", kExtension);
    UpdateFrom(m_server.Url("Extensions.csv"));
    // What a user sees, kept in the test's build folder.
    m_dialog->grab().save("auto_update_dialog.png");
    EXPECT_EQ(m_connectivity.dials, 1);
    ExpectUnchanged();
    EXPECT_TRUE(ShownTexts().empty());
    EXPECT_EQ(m_dialog->ConnectionText(), "Internet Connection: Inactive");
}

TEST_F(AutoUpdate, UnsavedChangesAreOfferedASaveFirst) {
    m_server.ServeFile("Extensions.csv", kExtension);
    m_data->SetModified();
    m_prompt->Answer(EPromptAnswer::Cancel);
    m_data->Settings().Store().setValue(QStringLiteral("InstallPath/FoodDBExtensions"),
                                        m_server.Url("Extensions.csv"));
    m_dialog->Update();
    ProcessEventsFor(200);
    EXPECT_FALSE(m_dialog->IsDownloading());
    EXPECT_EQ(Export(), m_before);
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_TRUE(ShownTexts()[0].startsWith("It is recommended that you save your file"));

    m_prompt->Answer(EPromptAnswer::Yes);
    UpdateFrom(m_server.Url("Extensions.csv"));
    EXPECT_NE(Export().find("Gouda"), std::string::npos);
    EXPECT_TRUE(fs::exists(ProgramFolderOf("Ann") / "UserDB.ddb")) << "saved before the import";
}

} // namespace
