#include "tools/ostrova/AppReport.h"

#include "Auxiliary/ByteCountFormatter.h"
#include "tools/ostrova/JsonWriter.h"

#include <algorithm>

namespace {

// Control characters would break a line-per-entry listing; show them escaped.
std::string printable(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (static_cast<unsigned char>(c) < 0x20)
            out += '?';
        else
            out += c;
    }
    return out;
}

void writeGroups(JsonWriter& json, const UninstallApp& app)
{
    json.key("groups");
    json.beginArray();
    for (const auto& group : app.fileGroups) {
        json.beginObject();
        json.key("type");
        json.value(categoryCaseName(group->type));
        json.key("title");
        json.value(group->title());
        json.key("items");
        json.beginArray();
        for (const auto& item : group->fileItem) {
            json.beginObject();
            json.key("filePath");
            json.value(item->filePath);
            json.key("fileName");
            json.value(item->fileName);
            json.key("isDir");
            json.value(item->isDir);
            json.key("size");
            json.value(item->size);
            json.key("claimedBy");
            json.value(item->claimedBy);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

}  // namespace

std::string AppReport::listText(const Apps& apps)
{
    std::vector<std::vector<std::string>> rows = {{"NAME", "VERSION", "BUNDLE IDENTIFIER", "LAST USED", "PATH"}};
    for (const auto& app : apps)
        rows.push_back({printable(app->displayName()), printable(app->shortVersion()),
                        printable(app->bundleIdentifier()), app->lastUsed, printable(app->bundlePath.value_or(""))});
    std::vector<std::size_t> widths(rows.front().size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    std::string out;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            line += row[c];
            if (c + 1 < row.size())
                line += std::string(widths[c] - row[c].size() + 2, ' ');
        }
        out += line + "\n";
    }
    return out;
}

std::string AppReport::scanText(const Apps& apps)
{
    std::string out;
    for (const auto& app : apps) {
        out += printable(app->displayName()) + "  (" + printable(app->bundleIdentifier()) + ")  " +
               format2ByteCountString(app->totalSize) +
               (app->isGone() && !app->remainsCertain ? " (not sure: the search for installed copies ran out of time)" : "") + "\n";
        for (const auto& group : app->fileGroups) {
            out += "  " + group->title() + "\n";
            for (const auto& item : group->fileItem)
                out += "    " + printable(item->filePath) + "  " + format2ByteCountString(item->size) + "\n";
        }
    }
    return out;
}

std::string AppReport::json(const Apps& apps)
{
    JsonWriter json;
    json.beginArray();
    for (const auto& app : apps) {
        json.beginObject();
        json.key("bundlePath");
        json.value(app->bundlePath.value_or(""));
        json.key("bundleIdentifier");
        json.value(app->bundleIdentifier());
        json.key("displayName");
        json.value(app->displayName());
        json.key("lastUsed");
        json.value(app->lastUsed);
        json.key("bundleSize");
        json.value(app->bundleSize);
        json.key("totalSize");
        json.value(app->totalSize);
        json.key("isReady");
        json.value(app->isReady.load());
        writeGroups(json, *app);
        json.endObject();
    }
    json.endArray();
    return json.text() + "\n";
}

std::string AppReport::leftoversJson(const Apps& apps)
{
    JsonWriter json;
    json.beginArray();
    for (const auto& app : apps) {
        json.beginObject();
        json.key("bundleIdentifier");
        json.value(app->bundleIdentifier());
        json.key("displayName");
        json.value(app->displayName());
        json.key("totalSize");
        json.value(app->totalSize);
        json.key("certain");
        json.value(app->remainsCertain);
        writeGroups(json, *app);
        json.endObject();
    }
    json.endArray();
    return json.text() + "\n";
}
