#include "service/soap_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <sstream>

#include "platform/ascii_text.h"
#include "service/base64.h"
#include "service/errors.h"
#include "service/soap_writer.h"

namespace xamu {
namespace {

std::string_view LocalName(pugi::xml_node node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// The namespace a node's prefix is bound to, looked up through its ancestors.
std::string_view NamespaceOf(pugi::xml_node node) {
  const std::string_view name = node.name();
  const std::size_t colon = name.find(':');
  const std::string attribute =
      colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
  for (pugi::xml_node n = node; n; n = n.parent()) {
    if (const pugi::xml_attribute a = n.attribute(attribute.c_str())) return a.value();
  }
  return {};
}

pugi::xml_node FirstElement(pugi::xml_node parent) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_element) return n;
  }
  return {};
}

pugi::xml_node ChildByLocalName(pugi::xml_node parent, std::string_view name) {
  for (pugi::xml_node n = parent.first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_element && LocalName(n) == name) return n;
  }
  return {};
}

bool IsNil(pugi::xml_node node) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
    const std::string_view name = a.name();
    if ((name == "nil" || name.ends_with(":nil")) &&
        (std::strcmp(a.value(), "true") == 0 || std::strcmp(a.value(), "1") == 0)) {
      return true;
    }
  }
  return false;
}

[[noreturn]] void BadValue(pugi::xml_node node) {
  throw ESOAPResponseError("Invalid value '" + std::string(node.text().get()) + "' for " +
                           std::string(LocalName(node)));
}

template <typename Integer>
Integer IntegerOf(pugi::xml_node node) {
  if (IsNil(node)) return 0;
  const std::string_view text = platform::TrimWhitespace(node.text().get());
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() ||
      value < std::numeric_limits<Integer>::min() || value > std::numeric_limits<Integer>::max()) {
    BadValue(node);
  }
  return static_cast<Integer>(value);
}

bool BooleanOf(pugi::xml_node node) {
  if (IsNil(node)) return false;
  const std::string_view text = platform::TrimWhitespace(node.text().get());
  if (text == "true" || text == "1") return true;
  if (text == "false" || text == "0") return false;
  BadValue(node);
}

double DoubleOf(pugi::xml_node node) {
  if (IsNil(node)) return 0;
  std::string_view text = platform::TrimWhitespace(node.text().get());
  if (text == "INF") return std::numeric_limits<double>::infinity();
  if (text == "-INF") return -std::numeric_limits<double>::infinity();
  if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) BadValue(node);
  return value;
}

}  // namespace

SoapMessage::SoapMessage(std::string xml)
    : xml_(std::move(xml)), budget_((std::size_t{40} << 20) + 2 * xml_.size()) {
  // The parsed document takes some 64 bytes for each element and up to 96 for each attribute
  // (with the index of ids), many times their text when they are small; counted before
  // anything is parsed, it may take 24 MiB and once more the text. With the arrays' budget and the
  // text itself, an answer holds at most 64 MiB and four times its size.
  const std::size_t markup = 64 * static_cast<std::size_t>(std::ranges::count(xml_, '<')) +
                             96 * static_cast<std::size_t>(std::ranges::count(xml_, '='));
  if (markup > (std::size_t{24} << 20) + xml_.size()) {
    throw ESOAPResponseError("The answer has more markup than its size justifies");
  }
  // Parsed in place: the text is not copied, which matters for answers of many megabytes.
  const pugi::xml_parse_result parsed = document_.load_buffer_inplace(xml_.data(), xml_.size());
  const pugi::xml_node envelope = document_.document_element();
  if (!parsed || !envelope) throw ESOAPResponseError("Invalid SOAP Response");
  if (LocalName(envelope) != "Envelope" || NamespaceOf(envelope) != kSoapEnvelopeNs) {
    throw ESOAPResponseError(std::string("DocumentElement ") + kSoapEnvelopeNs +
                             ":Envelope expected, " + std::string(NamespaceOf(envelope)) + ":" +
                             std::string(LocalName(envelope)) + " found");
  }
  body_ = ChildByLocalName(envelope, "Body");
  if (!body_) throw ESOAPResponseError("Invalid SOAP Response");
  // References are resolved before anything is read, a fault's text included.
  for (const pugi::xpath_node& x : body_.select_nodes(".//*[@id]")) {
    ids_.emplace(x.node().attribute("id").value(), x.node());
  }
  operation_ = FirstElement(body_);
  if (operation_ && LocalName(operation_) == "Fault") {
    const pugi::xml_node faultstring = ChildByLocalName(operation_, "faultstring");
    throw ERemotableException(Dereference(faultstring).text().get());
  }
}

std::string SoapMessage::OperationName() const {
  return std::string(LocalName(operation_));
}

pugi::xml_node SoapMessage::Dereference(pugi::xml_node node) const {
  // A chain of references is followed a bounded number of times, so a cycle cannot loop.
  for (int hops = 0; node && hops < 8; ++hops) {
    const char* href = node.attribute("href").value();
    if (href[0] != '#') return node;
    const auto target = ids_.find(href + 1);
    if (target == ids_.end()) throw ESOAPResponseError(std::string("Unresolved reference ") + href);
    node = target->second;
  }
  if (node && node.attribute("href")) throw ESOAPResponseError("Too many references");
  return node;
}

pugi::xml_node SoapMessage::Parameter(std::string_view name) const {
  return Dereference(ChildByLocalName(operation_, name));
}

pugi::xml_node SoapMessage::Result() const {
  pugi::xml_node only;
  int count = 0;
  for (pugi::xml_node n = operation_.first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_element && count++ == 0) only = n;
  }
  if (count == 1) return Dereference(only);
  for (pugi::xml_node n = operation_.first_child(); n; n = n.next_sibling()) {
    if (n.type() == pugi::node_element && (platform::EqualsIgnoringCase(LocalName(n), "Result") ||
                                           platform::EqualsIgnoringCase(LocalName(n), "Return"))) {
      return Dereference(n);
    }
  }
  // The text was parsed in place; what was received is written out again.
  std::ostringstream received;
  document_.save(received, "", pugi::format_raw | pugi::format_no_declaration);
  throw ESOAPResponseError(
      "SOAP Response Packet: element matching function return not found, received \"" +
      received.str() + "\"");
}

bool SoapMessage::ResultBoolean() const {
  return BooleanOf(Result());
}

void SoapMessage::Read(std::string_view name, std::int16_t& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = IntegerOf<std::int16_t>(n);
}
void SoapMessage::Read(std::string_view name, std::int32_t& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = IntegerOf<std::int32_t>(n);
}
void SoapMessage::Read(std::string_view name, std::uint8_t& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = IntegerOf<std::uint8_t>(n);
}
void SoapMessage::Read(std::string_view name, bool& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = BooleanOf(n);
}
void SoapMessage::Read(std::string_view name, double& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = DoubleOf(n);
}
void SoapMessage::Read(std::string_view name, std::string& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = IsNil(n) ? "" : n.text().get();
}
TipoArregloByte SoapMessage::Bytes(pugi::xml_node node) const {
  if (IsNil(node)) return {};
  const char* text = node.text().get();
  // Charged before anything is decoded, from the text's length (3 bytes per 4 characters).
  const std::size_t size = std::char_traits<char>::length(text) / 4 * 3;
  if (size > budget_ - std::min(spent_, budget_)) {
    throw ESOAPResponseError("The answer's data is larger than the answer can hold");
  }
  spent_ += size;
  // Only an element that references can reach (one with an id) is kept for the next one.
  if (!node.attribute("id")) return DecodeBase64(text);
  auto [cached, fresh] = decoded_.try_emplace(node.internal_object());
  if (fresh) cached->second = DecodeBase64(text);
  return cached->second;
}

void SoapMessage::Read(std::string_view name, TipoArregloByte& value) const {
  if (const pugi::xml_node n = Parameter(name)) value = Bytes(n);
}

void SoapMessage::Read(std::string_view name, TipoArregloSmallInt& value) const {
  const pugi::xml_node array = Parameter(name);
  if (!array) return;
  value.clear();
  for (pugi::xml_node item = array.first_child(); item; item = item.next_sibling()) {
    if (item.type() == pugi::node_element)
      value.push_back(IntegerOf<std::int16_t>(Dereference(item)));
  }
}

void SoapMessage::Read(std::string_view name, SincronizacionArchivoInformacion& value) const {
  const pugi::xml_node array = Parameter(name);
  if (!array) return;
  value.clear();
  for (pugi::xml_node item = array.first_child(); item; item = item.next_sibling()) {
    if (item.type() != pugi::node_element) continue;
    const pugi::xml_node entry = Dereference(item);
    Archivo1Sincronizacion e;
    const auto field = [&](const char* field_name) {
      return Dereference(ChildByLocalName(entry, field_name));
    };
    if (const auto n = field("IDObjeto")) e.IDObjeto = IntegerOf<std::int16_t>(n);
    if (const auto n = field("Nombre")) e.Nombre = IsNil(n) ? "" : n.text().get();
    if (const auto n = field("Longitud")) e.Longitud = IntegerOf<std::int32_t>(n);
    if (const auto n = field("Fecha")) e.Fecha = DoubleOf(n);
    if (const auto n = field("Datos")) e.Datos = Bytes(n);
    value.push_back(std::move(e));
  }
}

}  // namespace xamu
