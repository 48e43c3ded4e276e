#include "common/JsonValue.h"

// The only file that includes the JSON library.
#include <nlohmann/json.hpp>

namespace pwx {

struct JsonValue::Data {
  nlohmann::ordered_json json;
};

JsonValue::JsonValue() : data_(std::make_unique<Data>()) {}
JsonValue::JsonValue(std::nullptr_t) : JsonValue() {}
JsonValue::JsonValue(bool value) : JsonValue() {
  data_->json = value;
}
JsonValue::JsonValue(std::string_view text) : JsonValue() {
  data_->json = std::string(text);
}
JsonValue::~JsonValue() = default;
JsonValue::JsonValue(const JsonValue& other) : data_(std::make_unique<Data>(*other.data_)) {}
JsonValue& JsonValue::operator=(const JsonValue& other) {
  if (this != &other) data_ = std::make_unique<Data>(*other.data_);
  return *this;
}
JsonValue::JsonValue(JsonValue&& other) noexcept = default;
JsonValue& JsonValue::operator=(JsonValue&& other) noexcept = default;

void JsonValue::SetSigned(std::int64_t number) {
  data_->json = number;
}

void JsonValue::SetUnsigned(std::uint64_t number) {
  data_->json = number;
}

JsonValue JsonValue::Object() {
  JsonValue value;
  value.data_->json = nlohmann::ordered_json::object();
  return value;
}

JsonValue JsonValue::Array() {
  JsonValue value;
  value.data_->json = nlohmann::ordered_json::array();
  return value;
}

JsonValue& JsonValue::Set(std::string_view key, JsonValue value) {
  data_->json[std::string(key)] = std::move(value.data_->json);
  return *this;
}

JsonValue& JsonValue::Append(JsonValue value) {
  data_->json.push_back(std::move(value.data_->json));
  return *this;
}

std::string JsonValue::Text() const {
  return data_->json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace pwx
