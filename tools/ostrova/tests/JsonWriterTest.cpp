#include "tools/ostrova/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

TEST(JsonWriter, EscapesAndReplacesBrokenUtf8)
{
    EXPECT_EQ(JsonWriter::quoted("a\"b\\c\nd\te\x01"), "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
    EXPECT_EQ(JsonWriter::quoted("Straße"), "\"Straße\"");
    EXPECT_EQ(JsonWriter::quoted(std::string("x\xff" "y\xC3")), "\"x\\ufffdy\\ufffd\"");
    EXPECT_EQ(JsonWriter::quoted("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");  // a lone surrogate

    JsonWriter json;
    json.beginArray();
    json.beginObject();
    json.key("name");
    json.value(std::string("bad\xfe name"));
    json.key("size");
    json.value(std::int64_t{-5});
    json.key("flag");
    json.value(true);
    json.key("list");
    json.beginArray();
    json.endArray();
    json.endObject();
    json.value("tail");
    json.endArray();
    QJsonParseError error;
    const auto doc = QJsonDocument::fromJson(QByteArray::fromStdString(json.text()), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.text();
    const auto object = doc.array().at(0).toObject();
    EXPECT_EQ(object.value("size").toInt(), -5);
    EXPECT_TRUE(object.value("flag").toBool());
    EXPECT_EQ(doc.array().at(1).toString(), "tail");
}

}  // namespace
