// Random and mutated bytes through the terminal link's frame scanner, command connection and
// HTTP connection, with the entry points of the fuzzing binaries. The seed is fixed, so a
// failure repeats.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "link_targets.h"

namespace vesk {
namespace {

using fuzz::CheckCommandBytes;
using fuzz::CheckCommandOutput;
using fuzz::CheckHttpBytes;
using fuzz::CheckHttpOutput;
using fuzz::Fixture;
using fuzz::MemoryPeer;

/// The input shown in a failure: printable bytes as they are, others as \xNN, at most 400 bytes.
std::string Shown(std::string_view text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (char ch : text.substr(0, 400)) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7f) {
            out += ch;
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    if (text.size() > 400)
        out += "... (" + std::to_string(text.size()) + " bytes)";
    return out;
}

std::string Frame(std::string_view text)
{
    return "\x02" + std::string(text) + "\x03";
}

/// Makes inputs for the scanners: two bytes choosing the pieces, then seeds with edits that
/// matter to frames and lines (STX, ETX, CR, LF, 0 bytes, cuts, repeats, overlong runs).
class Generator {
public:
    explicit Generator(uint32_t seed) : m_random(seed) {}

    size_t Below(size_t bound) { return bound ? m_random() % bound : 0; }

    std::string Lead()
    {
        std::string lead(2, '\0');
        lead[0] = static_cast<char>(Below(256));
        lead[1] = static_cast<char>(Below(256));
        return lead;
    }

    std::string Mutate(std::string text, const std::vector<std::string_view>& pieces)
    {
        const int edits = 1 + static_cast<int>(Below(4));
        for (int i = 0; i < edits; ++i) {
            const size_t at = Below(text.size() + 1);
            switch (Below(10)) {
            case 0:
                if (at < text.size())
                    text[at] = static_cast<char>(text[at] ^ (1 << Below(8)));
                break;
            case 1:
                text.resize(at);
                break;
            case 2:
            case 3:
                text.insert(at, pieces[Below(pieces.size())]);
                break;
            case 4:
                text.erase(at, 1 + Below(16));
                break;
            case 5: {
                const size_t from = Below(text.size());
                text.insert(at, text.substr(from, 1 + Below(300)));
                break;
            }
            case 6:
                if (Below(8) == 0)
                    text.insert(at,
                                std::string(FrameScanner::kCapacity - 2 + Below(5), static_cast<char>('a' + Below(3))));
                else
                    text.insert(at, std::string(990 + Below(20), '/'));
                break;
            case 7:
                text.insert(at, 1, "\x02\x03\r\n"[Below(4)]);
                break;
            case 8:
                text.insert(at, 1, '\0');
                break;
            default:
                if (at < text.size())
                    text[at] = "'\"{}[]:,\\/. \x02\x03\r\n"[Below(17)];
                break;
            }
        }
        return text;
    }

    std::string RandomBytes(std::string_view alphabet)
    {
        std::string text;
        for (size_t n = Below(300); n > 0; --n)
            text += alphabet[Below(alphabet.size())];
        return text;
    }

private:
    std::mt19937 m_random;
};

std::vector<std::string> CommandSeeds()
{
    const std::string date = Fixture().ResourceDate();
    const std::string length = std::to_string(fuzz::kResourceText.size());
    std::vector<std::string> seeds = {
        "{'Command':'KEEPALIVE'}",
        "{'Command':'KEEPALIVE','Status':'DESTROY'}",
        "{'Command':'HELLO','OS':'Android 4.0','ResolutionH':480,'ResolutionV':800}",
        "{'Command':'DIALOG','Name':'Main'}",
        "{'Command':'CHANGE','Dialog':{'Name':'Main','Objects':[]}}",
        "{'Command':'CONDITION','Battery':50,'Memory':[1,2,3]}",
        "{'Command':'GETFILE','File':'small.txt','ObjectName':'image1'}",
        "{'Command':'GETFILE','File':'small.txt','Date':'" + date + "','Length':" + length + "}",
        "{'Command':'GETFILE','File':'../index.html'}",
        "{'Command':'GETFILE','File':'..\\\\index.html'}",
        "{'Command':'GETFILE','File':'up/index.html'}",
        "{'Command':'GETFILE','File':'up/resources/small.txt'}",
        "{'Command':'GETFILE','File':'up/out/secret.txt'}",
        "{'Command':'GETFILE','File':'secret'}",
        "{'Command':'GETFILE','File':'/etc/passwd'}",
        "{'Command':'GETFILE','File':'C:\\\\small.txt'}",
        "{'Command':'GETFILE','File':'./small.txt'}",
        "{'Command':'GETFILE','File':'small.txt\\u0000x'}",
        "{'Command':'GETFILE','File':'\x95\x5c.txt','Length':-1}",
        "{'Command':'GETFILE','File':''}",
        "{'Command':'GETFILE','File':'.'}",
        "{'Commands':[{'Command':'KEEPALIVE'},{'Command':'GETFILE','File':'small.txt'},{'Command':'HELLO'}]}",
        "{'Commands':[{'Command':'FOO'},{'Command':'KEEPALIVE'}]}",
        "{'Command':'NOTIFY'}",
    };
    for (std::string& seed : seeds)
        seed = Frame(seed);
    return seeds;
}

std::vector<std::string> HttpSeeds()
{
    return {
        "GET / HTTP/1.0\r\n\r\n",
        "GET /index.html HTTP/1.0\r\nHost: x\r\n\r\n",
        "GET /resources/small.txt HTTP/1.1\r\nUser-Agent: y\r\n\r\nGET / HTTP/1.0\r\n\r\n",
        "GET /resources/up/index.html HTTP/1.0\r\n\r\n",
        "GET /out/secret.txt HTTP/1.0\r\n\r\n",
        "GET /../secret.txt HTTP/1.0\r\n\r\n",
        "GET /resources/secret HTTP/1.0\r\n\r\n",
        "GET //etc/passwd HTTP/1.0\r\n\r\n",
        "GET /..\\secret.txt HTTP/1.0\r\n\r\n",
        "GET /%2e%2e/secret.txt HTTP/1.0\r\n\r\n",
        "GET /resources/ HTTP/1.0\r\n\r\n",
        "GET x HTTP/1.0\r\n\r\n",
        "GET /" + std::string(250, 'a') + " HTTP/1.0\r\n\r\n",
        "GET /" + std::string(256, 'b') + " HTTP/1.0\r\n\r\n",
        "GET /index.html\r\n\r\n",
        "GET /index.html HTTP/1.0\n\n\r\r\n\r\n",
        "POST /index.html HTTP/1.0\r\n\r\n",
        std::string(999, 'x') + "\r\n" + "GET / HTTP/1.0\r\n\r\n",
        std::string(1000, 'x') + "\r\nGET / HTTP/1.0\r\n\r\n",
        "GET /index.html HTTP/1.0\r\n" + std::string(1200, 'h') + "\r\n\r\n",
    };
}

// The checks must notice what they are there to notice.
TEST(ScannerRobustness, OutputChecksCatchBreaches)
{
    EXPECT_EQ(CheckCommandOutput(Frame("{'Command':'PUTFILE','File':'a','Status':'ERROR'}")), "");
    EXPECT_NE(
        CheckCommandOutput(Frame("{'Command':'PUTFILE','File':'a','Length':26}") + std::string(fuzz::kSecretText)), "");
    EXPECT_NE(CheckCommandOutput("x" + Frame("{'Command':'PUTFILE','File':'a','Status':'ERROR'}")), "");
    EXPECT_NE(CheckCommandOutput("\x02{'Command':'PUTFILE'"), "");
    const std::string notFound = "HTTP/1.0 404 Not Found\r\n\r\n";
    EXPECT_EQ(CheckHttpOutput(notFound, true), "");
    EXPECT_NE(CheckHttpOutput(notFound, false), "");
    EXPECT_NE(CheckHttpOutput(notFound + notFound, true), "");
    EXPECT_NE(CheckHttpOutput(
                  "HTTP/1.0 200 OK\r\nConnection: close\r\nContent-Type: text/html\r\nContent-Length: 26\r\n\r\n" +
                      std::string(fuzz::kSecretText),
                  false),
              "");

    MemoryPeer peer(Fixture().Project(), Fixture().Resources());
    const int fd = ::open((Fixture().Project() + "/index.html").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    peer.SendFileData(fd, fuzz::kIndexText.size());
    EXPECT_NE(peer.m_broken, "");
}

// What the seeds do is checked outright: only the resource file is served, every escape is refused.
TEST(ScannerRobustness, SeedsServeOnlyInsideFiles)
{
    MemoryPeer peer(Fixture().Project(), Fixture().Resources());
    CommandConnection connection(peer);
    for (const std::string& seed : CommandSeeds())
        connection.Receive(seed);
    EXPECT_EQ(peer.m_broken, "");
    EXPECT_EQ(CheckCommandOutput(peer.m_sent), "");
    // The array that starts with an unknown command stops there, before its KEEPALIVE.
    EXPECT_EQ(peer.m_keepAlives, 3);
    EXPECT_NE(peer.m_sent.find("'Status':'LATEST'"), std::string::npos);
    EXPECT_NE(peer.m_sent.find(std::string(fuzz::kResourceText)), std::string::npos);
    EXPECT_EQ(peer.m_sent.find(std::string(fuzz::kIndexText)), std::string::npos);
    EXPECT_EQ(peer.m_sent.find(std::string(fuzz::kSecretText)), std::string::npos);

    int served = 0;
    int notFound = 0;
    for (const std::string& seed : HttpSeeds()) {
        MemoryPeer http(Fixture().Project(), Fixture().Project());
        HttpConnection connection(http);
        connection.Receive(seed);
        EXPECT_EQ(http.m_broken, "") << Shown(seed);
        EXPECT_EQ(CheckHttpOutput(http.m_sent, http.m_ended), "") << Shown(seed);
        EXPECT_EQ(http.m_sent.find(std::string(fuzz::kSecretText)), std::string::npos) << Shown(seed);
        served += http.m_sent.starts_with("HTTP/1.0 200") ? 1 : 0;
        notFound += http.m_ended ? 1 : 0;
    }
    EXPECT_GE(served, 6);
    EXPECT_GE(notFound, 8);
}

TEST(ScannerRobustness, FramesWithMutatedAndRandomBytes)
{
    const std::vector<std::string> seeds = CommandSeeds();
    const std::vector<std::string_view> pieces = {"\x02",        "\x03",         "'",        "\\u0000",   "\\\\",
                                                  "..",          "../",          "up/",      "small.txt", "'GETFILE'",
                                                  "'KEEPALIVE'", "'Commands':[", "\x95\x5c", "'File':",   "{}"};
    Generator generator(7);
    int failures = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string body;
        if (i % 10 == 9) {
            body = generator.RandomBytes(std::string_view("\x02\x03{}[]',:\\ .\0/aK", 17));
        } else {
            for (size_t n = 1 + generator.Below(3); n > 0; --n)
                body += seeds[generator.Below(seeds.size())];
            body = generator.Mutate(body, pieces);
        }
        const std::string input = generator.Lead() + body;
        const std::string broken = CheckCommandBytes(input);
        if (!broken.empty() && ++failures <= 3)
            ADD_FAILURE() << "case " << i << ": " << broken << "\ninput: " << Shown(input);
    }
    EXPECT_EQ(failures, 0);
}

TEST(ScannerRobustness, OverlongFramesAroundTheCapacity)
{
    const std::string good = Frame("{'Command':'GETFILE','File':'small.txt'}");
    int failures = 0;
    Generator generator(11);
    for (size_t size = FrameScanner::kCapacity - 3; size <= FrameScanner::kCapacity + 3; ++size) {
        for (const std::string& tail : {std::string("\x03"), std::string("\x02"), std::string()}) {
            const std::string input = generator.Lead() + "\x02" + std::string(size, 'x') + tail + good + good;
            const std::string broken = CheckCommandBytes(input);
            if (!broken.empty() && ++failures <= 3)
                ADD_FAILURE() << "frame of " << size << ": " << broken;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(ScannerRobustness, HttpWithMutatedAndRandomBytes)
{
    const std::vector<std::string> seeds = HttpSeeds();
    const std::vector<std::string_view> pieces = {"\r",       "\n",       "\r\n",   "\r\n\r\n", "GET ",
                                                  "/../",     "..\\",     "/out/",  "/up/",     " ",
                                                  "HTTP/1.0", "\x95\x5c", "secret", "%2e",      "/index.html"};
    Generator generator(13);
    int failures = 0;
    for (int i = 0; i < 3000; ++i) {
        std::string body;
        if (i % 10 == 9) {
            body = generator.RandomBytes(std::string_view("GET /.\\\r\n \0aHTP1", 17));
        } else {
            for (size_t n = 1 + generator.Below(3); n > 0; --n)
                body += seeds[generator.Below(seeds.size())];
            body = generator.Mutate(body, pieces);
        }
        const std::string input = generator.Lead() + body;
        const std::string broken = CheckHttpBytes(input);
        if (!broken.empty() && ++failures <= 3)
            ADD_FAILURE() << "case " << i << ": " << broken << "\ninput: " << Shown(input);
    }
    EXPECT_EQ(failures, 0);
}

} // namespace
} // namespace vesk
