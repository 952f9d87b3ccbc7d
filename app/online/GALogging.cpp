#include "app/online/GALogging.h"

#include "platform/Bundle.h"
#include "platform/UserDefaults.h"
#include "system/Utility.h"

#include <curl/curl.h>
#include <sys/utsname.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

std::string bundleValueOrUnknown(const plist::Dictionary& info, const char* key)
{
    const auto text = plist::optionalString(info, key);
    return text ? *text : "Unknown";
}

const std::string& mainBundleEventName()
{
    static const std::string name = [] {
        const auto bundle = platform::Bundle::mainBundle();
        return GALogging::makeEventName(bundle ? bundle->infoDictionary() : plist::Dictionary{});
    }();
    return name;
}

std::string makeLink(const std::optional<std::string>& endpoint)
{
    if (!endpoint || endpoint->empty())
        return "";
    std::string base = *endpoint;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    base.append("/php/page-events.php?id=%@&name=%@&action=%@&label=%@");
    return base;
}

std::string fillTemplate(const std::string& format, std::initializer_list<std::string> values)
{
    std::string result;
    auto value = values.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format.compare(i, 2, "%@") == 0 && value != values.end()) {
            result.append(*value++);
            ++i;
        } else {
            result.push_back(format[i]);
        }
    }
    return result;
}

void initialiseCurlOnce()
{
    static const bool done = [] { return curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; }();
    (void)done;
}

std::size_t discard(char*, std::size_t size, std::size_t count, void*)
{
    return size * count;
}

}  // namespace

GALogging& GALogging::standard()
{
    static auto* instance = new GALogging(configuredEndpoint());
    return *instance;
}

GALogging::GALogging(std::optional<std::string> endpoint) : eventName(mainBundleEventName()), link(makeLink(endpoint)) {}

std::optional<std::string> GALogging::configuredEndpoint()
{
    if (const char* fromEnvironment = std::getenv("OSTROVA_EVENT_ENDPOINT"); fromEnvironment && *fromEnvironment)
        return std::string(fromEnvironment);
    const auto stored = platform::UserDefaults::standard().objectForKey("EventEndpoint");
    if (stored) {
        if (const auto* text = stored->get<std::string>(); text && !text->empty())
            return *text;
    }
    return std::nullopt;
}

std::string GALogging::makeEventName(const plist::Dictionary& info)
{
    return "ostrova_zh_" + bundleValueOrUnknown(info, "CFBundleShortVersionString") + "_" +
           bundleValueOrUnknown(info, "CFBundleVersion");
}

std::string GALogging::operatingSystemLabel()
{
    static const std::string label = [] {
        int parts[3] = {0, 0, 0};
        struct utsname name {};
        if (::uname(&name) == 0) {
            // "6.1.0-18-amd64": the leading dotted numbers.
            const std::string release = name.release;
            std::size_t position = 0;
            for (int& part : parts) {
                std::size_t digits = 0;
                while (position + digits < release.size() && std::isdigit(static_cast<unsigned char>(release[position + digits])))
                    ++digits;
                if (digits == 0)
                    break;
                part = std::atoi(release.substr(position, digits).c_str());
                position += digits;
                if (position >= release.size() || release[position] != '.')
                    break;
                ++position;
            }
        }
        return "MacOs " + std::to_string(parts[0]) + "." + std::to_string(parts[1]) + "." + std::to_string(parts[2]);
    }();
    return label;
}

std::string GALogging::encodeForQuery(const std::string& text)
{
    static const std::string allowed = "!$&'()*+,-./:;=?@_~";
    static const char* hex = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || allowed.find(c) != std::string::npos) {
            encoded.push_back(c);
        } else {
            encoded.push_back('%');
            encoded.push_back(hex[byte >> 4]);
            encoded.push_back(hex[byte & 0xF]);
        }
    }
    return encoded;
}

std::string GALogging::hardWareId()
{
    std::lock_guard lock(idMutex_);
    if (!hardWareId_)
        hardWareId_ = Utility::HardwareID(false);
    return *hardWareId_;
}

void GALogging::logEvent(const std::string& name, const std::string& action, const std::string& label)
{
    if (Utility::isSandboxed() || link.empty())
        return;
    const std::string url = encodeForQuery(fillTemplate(link, {hardWareId(), name, action, label}));
    if (url.empty())
        return;
    requests_.async([url] { post(url); });
}

void GALogging::waitForPendingRequests()
{
    requests_.sync([] {});
}

void GALogging::post(const std::string& url)
{
    initialiseCurlOnce();
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
        return;
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl)
        return;
    // A POST without a body and without header fields of its own.
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type:");
    headers = curl_slist_append(headers, "Accept:");
    curl_easy_setopt(curl.get(), CURLOPT_CURLU, parsed.get());
    curl_easy_setopt(curl.get(), CURLOPT_POST, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, "");
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDSIZE, 0L);
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT, 60L);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, discard);
    const CURLcode result = curl_easy_perform(curl.get());
    curl_slist_free_all(headers);
    if (result == CURLE_OK)
        std::cout << "post successed" << std::endl;
}
