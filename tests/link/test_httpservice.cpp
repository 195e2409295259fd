#include <gtest/gtest.h>

#include "link/httpservice.h"
#include "link/linklog.h"
#include "linktestsupport.h"

namespace vesk {
namespace {

using linktest::RecordingPeer;
using linktest::TempDir;
using linktest::WriteFile;

class HttpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        peer.folder = dir.Path() + "/project/";
        WriteFile(dir / "project/index.html", "<html>hello</html>");
        WriteFile(dir / "project/app/test.apk", "APKDATA");
        WriteFile(dir / "project/resources/a.png", "PNG");
        WriteFile(dir / "outside/secret.txt", "outside secret");
    }
    static std::string Ok(std::string_view type, std::string_view body)
    {
        return "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: " + std::string(type) +
               "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + std::string(body);
    }

    TempDir dir;
    RecordingPeer peer;
    HttpConnection http{peer};
};

const char kNotFound[] = "HTTP/1.0 404 Not Found\r\n\r\n";

TEST_F(HttpTest, RootAnswersIndexAsHtml)
{
    http.Receive("GET / HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("text/html", "<html>hello</html>"));
    ASSERT_EQ(peer.log.lines.size(), 2u);
    EXPECT_EQ(peer.log.lines[0].text, "Httpリクエスト (/index.html)");
    EXPECT_EQ(peer.log.lines[0].level, LOG_RECEIVED);
    EXPECT_EQ(peer.log.lines[1].text, "Http応答 (/index.html) 18Byte");
    EXPECT_EQ(peer.log.lines[1].level, LOG_SENT);
    EXPECT_FALSE(peer.ended);
}

TEST_F(HttpTest, ApkTypeWhateverTheCase)
{
    WriteFile(dir / "project/app/test.Apk", "APKDATA2");
    http.Receive("GET /app/test.apk HTTP/1.0\r\nHost: x\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("application/octet-stream", "APKDATA"));
    peer.sent.clear();
    http.Receive("GET /app/test.Apk HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("application/octet-stream", "APKDATA2"));
}

TEST_F(HttpTest, ContentTypes)
{
    EXPECT_EQ(ContentTypeFor("/a/b.APK"), "application/octet-stream");
    EXPECT_EQ(ContentTypeFor("/a/b.apk2"), "text/html");
    EXPECT_EQ(ContentTypeFor("/a/b.png"), "text/html");
    EXPECT_EQ(ContentTypeFor("/noext"), "text/html");
    EXPECT_EQ(ContentTypeFor(".apk"), "text/html");
}

TEST_F(HttpTest, MissingFileAnswers404AndEndsConnection)
{
    http.Receive("GET /missing.html HTTP/1.0\r\n\r\nGET / HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, kNotFound);
    EXPECT_TRUE(peer.ended);
    ASSERT_EQ(peer.log.lines.size(), 2u);
    EXPECT_EQ(peer.log.lines[1].text, "Http応答 (/missing.html) 404 Not Found");
    EXPECT_EQ(peer.log.lines[1].level, LOG_ERROR);
}

TEST_F(HttpTest, SecondRequestOnSameConnectionAfter200)
{
    http.Receive("GET / HTTP/1.0\r\n\r\nGET /app/test.apk HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("text/html", "<html>hello</html>") + Ok("application/octet-stream", "APKDATA"));
}

TEST_F(HttpTest, ShortAndForeignLinesGetNoAnswer)
{
    http.Receive("GET / HTTP/1\r\n\r\n"); // 12 bytes: ignored
    http.Receive("HEAD / HTTP/1.0\r\n\r\n");
    http.Receive("get / HTTP/1.0\r\n\r\n");
    http.Receive("\r\n");
    http.Receive("GET /index.html\r\n\r\n"); // no blank after the path
    EXPECT_TRUE(peer.sent.empty());
    EXPECT_TRUE(peer.log.lines.empty()) << peer.log.All();
}

TEST_F(HttpTest, RequestWithoutBlankLineIsNeverAnswered)
{
    http.Receive("GET / HTTP/1.0\r\nHost: x\r\nAccept: */*\r\n");
    EXPECT_TRUE(peer.sent.empty());
    EXPECT_EQ(http.RequestPath(), "/index.html");
}

TEST_F(HttpTest, CrLfSplitAcrossReads)
{
    const std::string request = "GET / HTTP/1.0\r\nHost: x\r\n\r\n";
    for (size_t split = 0; split <= request.size(); ++split) {
        RecordingPeer each;
        each.folder = peer.folder;
        HttpConnection connection(each);
        connection.Receive(std::string_view(request).substr(0, split));
        connection.Receive(std::string_view(request).substr(split));
        EXPECT_EQ(each.sent, Ok("text/html", "<html>hello</html>")) << "split at " << split;
    }
}

TEST_F(HttpTest, LoneLfIsAnOrdinaryByte)
{
    http.Receive("GET / HTTP/1.0\n\n");
    EXPECT_TRUE(peer.sent.empty());
    http.Receive("\r\n\r\n"); // ends the line "GET / HTTP/1.0\n\n", then the blank line answers it
    EXPECT_EQ(peer.sent, Ok("text/html", "<html>hello</html>"));
}

TEST_F(HttpTest, OverlongLineIsDroppedToItsEnd)
{
    // 998 bytes is the longest line that fits; 999 is dropped with its tail.
    std::string fits = "GET / HTTP/1.0 " + std::string(998 - 15, 'a');
    ASSERT_EQ(fits.size(), 998u);
    http.Receive(fits + "\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("text/html", "<html>hello</html>"));

    peer.sent.clear();
    std::string overlong = "GET /app/test.apk HTTP/1.0 " + std::string(3000, 'b');
    http.Receive(overlong + "\r\n\r\n");
    EXPECT_TRUE(peer.sent.empty());
    EXPECT_EQ(http.RequestPath(), "");
    // The connection still works afterwards.
    http.Receive("GET / HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("text/html", "<html>hello</html>"));
}

TEST_F(HttpTest, PathLimit)
{
    const std::string path255 = "/" + std::string(254, 'p');
    http.Receive("GET " + path255 + " HTTP/1.0\r\n");
    EXPECT_EQ(http.RequestPath(), path255);
    http.Receive("GET /" + std::string(255, 'q') + " HTTP/1.0\r\n");
    EXPECT_EQ(http.RequestPath(), path255);
}

TEST_F(HttpTest, QueryAndEscapesAreNotDecoded)
{
    http.Receive("GET /index.html?x=1 HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, kNotFound);
    HttpConnection second(peer);
    peer.sent.clear();
    second.Receive("GET /%69ndex.html HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, kNotFound);
}

TEST_F(HttpTest, PathsLeavingTheProjectFolderGet404)
{
    ASSERT_EQ(::symlink((dir / "outside/secret.txt").c_str(), (dir / "project/link").c_str()), 0);
    ASSERT_EQ(::mkfifo((dir / "outside/fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink((dir / "outside/fifo").c_str(), (dir / "project/fifo").c_str()), 0);
    for (std::string path : {"/../outside/secret.txt", "/..\\outside\\secret.txt", "/resources/../index.html",
                             "//etc/passwd", "/\\etc\\passwd", "/C:/x", "/link", "/fifo",
                             "/a\x01"
                             "b",
                             "index.html", "http://host/index.html", "/%2e%2e/outside/secret.txt"}) {
        RecordingPeer each;
        each.folder = peer.folder;
        HttpConnection connection(each);
        connection.Receive("GET " + path + " HTTP/1.0\r\n\r\n");
        EXPECT_EQ(each.sent, kNotFound) << path;
        EXPECT_TRUE(each.ended) << path;
        EXPECT_TRUE(each.log.Has("Http応答 (" + path + ") 404 Not Found", LOG_ERROR)) << path << each.log.All();
    }
}

TEST_F(HttpTest, FilesOfTheProjectFolderAndBackslashPaths)
{
    http.Receive("GET /resources\\a.png HTTP/1.0\r\n\r\n");
    EXPECT_EQ(peer.sent, Ok("text/html", "PNG"));
}

} // namespace
} // namespace vesk
