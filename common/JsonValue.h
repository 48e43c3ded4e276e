#pragma once

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pwx {

// A JSON document built up in code and written as text: null, a switch, a number, a text,
// an array, or an object whose keys keep the order they were set in. Texts are UTF-8; bytes
// that are not (a file name from another system) are written as U+FFFD, so the text is
// always valid JSON.
class JsonValue {
 public:
  JsonValue();  // null
  JsonValue(std::nullptr_t);
  JsonValue(bool value);
  template <std::integral Number>
  requires(!std::same_as<Number, bool>) JsonValue(Number number) : JsonValue() {
    if constexpr (std::is_signed_v<Number>) {
      SetSigned(static_cast<std::int64_t>(number));
    } else {
      SetUnsigned(static_cast<std::uint64_t>(number));
    }
  }
  JsonValue(std::string_view text);
  JsonValue(const char* text) : JsonValue(std::string_view(text)) {}
  JsonValue(const std::string& text) : JsonValue(std::string_view(text)) {}
  ~JsonValue();
  JsonValue(const JsonValue& other);
  JsonValue& operator=(const JsonValue& other);
  JsonValue(JsonValue&& other) noexcept;
  JsonValue& operator=(JsonValue&& other) noexcept;

  static JsonValue Object();
  static JsonValue Array();

  // Sets a key of an object; a key set again keeps its place.
  JsonValue& Set(std::string_view key, JsonValue value);
  // Appends to an array.
  JsonValue& Append(JsonValue value);

  // The document as text, two spaces a level, without a final line break.
  std::string Text() const;

 private:
  struct Data;
  void SetSigned(std::int64_t number);
  void SetUnsigned(std::uint64_t number);
  std::unique_ptr<Data> data_;
};

}  // namespace pwx
