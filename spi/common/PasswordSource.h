#pragma once
// How archive-reading code gets the password of an encrypted entry or header without knowing
// where passwords come from (the dialog and the remembering rule, spi/common/password, in a
// plug-in; a fixed password in the fuzzers). Plain C++.
#include <cstddef>
#include <cstdint>
#include <functional>

class PasswordSource {
public:
    enum class Attempt { Opened, Wrong, Damaged, Failed };
    // Tries a password's bytes on the item: Opened when its check value matches, Wrong when
    // not, Damaged when the check value matched but the data did not hold together (a weak
    // check such as ZipCrypto's one byte passes a wrong password 1 time in 256, so the typed
    // text's other forms are tried before the item counts as damaged), Failed when it could
    // not be tried at all.
    using Trial = std::function<Attempt(const uint8_t* password, size_t size)>;

    virtual ~PasswordSource() = default;
    // Offers passwords to `trial` until one opens the item. SpiResult: SpiSuccess once opened,
    // SpiBrokenData when no form of a password opened it and one was Damaged (not asked again),
    // SpiAborted when the user gave up (no further password for this archive), SpiInternalError
    // after a failed trial.
    virtual int Unlock(const Trial& trial) = 0;
};
