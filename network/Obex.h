#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// The OBEX packets of a beam: CONNECT and the answers to it and to PUT.
namespace network {

constexpr std::uint16_t obex_largest_packet = 2048;
// The least packet size OBEX lets a peer announce.
constexpr std::uint16_t obex_least_packet = 255;

constexpr std::uint8_t obex_continue = 0x90;
constexpr std::uint8_t obex_success = 0xA0;

// CONNECT, version 1.0, no flags, 2048 as the largest packet this side takes.
std::array<std::uint8_t, 7> obex_connect_request();

// The packet size to send with after a CONNECT response: the peer's largest
// packet, at most 2048. None unless the response is a success of at least 7
// bytes announcing at least 255.
std::optional<std::uint16_t> obex_connect_packet_size(std::span<const std::uint8_t> response);

// Whether a response to PUT lets the transfer go on.
bool obex_put_accepted(std::span<const std::uint8_t> response);

}
