#pragma once

#include <string>
#include <string_view>

#include "core/online/Download.h"

namespace losfix {

// The donation status: the first line of the text, decoded by its byte-order mark (Windows-1252
// without one) and taken unchanged; "" for an empty text.
std::string DonationLine(std::string_view bytes);

// Fetches the donation file fresh into the temporary folder and returns its first line; "" when
// there is no connection or nothing was delivered.
std::string FetchDonationCounter(const OnlineAccess& access);

// The pages the program opens, all invented for this project on reserved names.
inline constexpr const char* kDonationPageUrl =
    "https://www.paypal.example/donate/?hosted_button_id=LFX2WACHMACHER";

struct SiblingProduct {
    const char* name;
    const char* description;
    const char* url;
    const char* picture;  // resource path
};

inline constexpr SiblingProduct kFirstProduct = {
    "Kalendix 3", "Jahreskalender mit Feiertagen und Schulferien zum Ausdrucken.",
    "https://www.losfix.example/programme/kalendix/", ":/product-kalendix.svg"};
inline constexpr SiblingProduct kSecondProduct = {
    "Notizfix", "Haftnotizen für den Bildschirm, die sich selbst ordnen.",
    "https://www.notizfix.example/", ":/product-notizfix.svg"};

// The maker as the info window shows it: no real person, address or number (the telephone range
// is set aside for fiction).
struct MakerContact {
    const char* name;
    const char* street;
    const char* postcodeTown;
    const char* mail;
    const char* telephone;
    const char* fax;
};

inline constexpr MakerContact kMaker = {"Erika Mustermann",    "Beispielweg 12",
                                        "D-99999 Musterstadt", "service@losfix.example",
                                        "+49 30 23125 000",    "+49 30 23125 001"};

// "mailto:" + the service address + "?subject=" + the program name, its blank as typed.
std::string MailtoAddress();

}  // namespace losfix
