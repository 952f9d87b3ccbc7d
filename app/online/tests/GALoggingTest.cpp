// Usage events against a real HTTP server on the loopback interface.
#include "app/online/GALogging.h"

#include "fixtures/RecordingHttpServer.h"
#include "fixtures/ScopedEnvironment.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <regex>

TEST(GALoggingTest, SendsOnePostWithThePercentEncodedQuery)
{
    fixtures::RecordingHttpServer server;
    GALogging logging(server.endpoint());
    logging.logEvent("ostrova_zh_1.0_7", "start", "MacOs 14.2.1");
    logging.waitForPendingRequests();

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string expected = "POST /php/page-events.php?id=" + GALogging::encodeForQuery(logging.hardWareId()) +
                                 "&name=ostrova_zh_1.0_7&action=start&label=MacOs%2014.2.1 HTTP/1.1";
    EXPECT_EQ(fixtures::RecordingHttpServer::requestLine(requests[0]), expected);
    // No body and no header fields of its own.
    EXPECT_NE(requests[0].find("Content-Length: 0\r\n"), std::string::npos);
    EXPECT_EQ(requests[0].find("Content-Type"), std::string::npos);
}

TEST(GALoggingTest, SendsNothingInTheSandboxOrWithoutAnEndpoint)
{
    fixtures::RecordingHttpServer server;
    {
        fixtures::ScopedEnvironment environment;
        environment.set("APP_SANDBOX_CONTAINER_ID", "com.qzt.ostrova");
        GALogging sandboxed(server.endpoint());
        sandboxed.logEvent(sandboxed.eventName, "start", GALogging::operatingSystemLabel());
        sandboxed.waitForPendingRequests();
    }
    GALogging unconfigured(std::nullopt);
    EXPECT_EQ(unconfigured.link, "");
    unconfigured.logEvent(unconfigured.eventName, "start", "x");
    unconfigured.waitForPendingRequests();

    // A marker sent after them: the server takes connections in turn, so a request either of them
    // had sent would be there before it.
    GALogging marker(server.endpoint());
    marker.logEvent("marker", "start", "x");
    marker.waitForPendingRequests();
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_NE(fixtures::RecordingHttpServer::requestLine(requests[0]).find("name=marker&"), std::string::npos);
}

TEST(GALoggingTest, EventNameTakesTheBundleVersionsOrUnknown)
{
    EXPECT_EQ(GALogging::makeEventName({{"CFBundleShortVersionString", "2.4"}, {"CFBundleVersion", "311"}}),
              "ostrova_zh_2.4_311");
    EXPECT_EQ(GALogging::makeEventName({{"CFBundleShortVersionString", "2.4"}}), "ostrova_zh_2.4_Unknown");
    EXPECT_EQ(GALogging::makeEventName({{"CFBundleShortVersionString", 24}, {"CFBundleVersion", "311"}}),
              "ostrova_zh_Unknown_311");
    // The test program lies in no bundle: both values are missing.
    EXPECT_EQ(GALogging(std::nullopt).eventName, "ostrova_zh_Unknown_Unknown");
}

TEST(GALoggingTest, EndpointComesFromTheEnvironmentOrTheUserDefaults)
{
    const auto config = std::filesystem::temp_directory_path() / ("galogging-" + std::to_string(::getpid()));
    std::filesystem::create_directories(config);
    fixtures::ScopedEnvironment environment;
    environment.set("XDG_CONFIG_HOME", config.string());
    environment.unset("OSTROVA_EVENT_ENDPOINT");
    platform::UserDefaults::setStandardDomain("com.qzt.ostrova");
    EXPECT_EQ(GALogging::configuredEndpoint(), std::nullopt);

    platform::UserDefaults::standard().setObject("EventEndpoint", "https://events.example.org");
    EXPECT_EQ(GALogging::configuredEndpoint(), "https://events.example.org");
    environment.set("OSTROVA_EVENT_ENDPOINT", "http://127.0.0.1:9");
    EXPECT_EQ(GALogging::configuredEndpoint(), "http://127.0.0.1:9");

    GALogging logging(std::string("https://events.example.org/"));
    EXPECT_EQ(logging.link, "https://events.example.org/php/page-events.php?id=%@&name=%@&action=%@&label=%@");
    platform::UserDefaults::setStandardDomain("");
    std::filesystem::remove_all(config);
}

TEST(GALoggingTest, OperatingSystemLabelAndQueryEncoding)
{
    EXPECT_TRUE(std::regex_match(GALogging::operatingSystemLabel(), std::regex(R"(MacOs \d+\.\d+\.\d+)")))
        << GALogging::operatingSystemLabel();
    EXPECT_EQ(GALogging::encodeForQuery("http://h/p?a=b c&d=é%#"), "http://h/p?a=b%20c&d=%C3%A9%25%23");
}
