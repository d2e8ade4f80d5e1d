#include "server/ReleaseSigning.h"

#include "common/Md5Digest.h"

#include <sodium.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace server {

namespace fs = std::filesystem;

namespace {

bool Inside(const fs::path& path, const fs::path& folder) {
    std::error_code error;
    const fs::path base = fs::weakly_canonical(folder, error);
    if (error || base.empty())
        return false;
    const fs::path relative = path.lexically_relative(base);
    return !relative.empty() && *relative.begin() != "..";
}

std::string Hex(const uint8_t* bytes, size_t size) { return HexDigits(bytes, size, false); }

}  // namespace

std::string KeyPlaceError(const fs::path& path, const std::vector<fs::path>& folders) {
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(path, error), error);
    if (error)
        return "cannot resolve " + path.string();
    for (const fs::path& folder : folders) {
        if (Inside(full, folder))
            return path.string() + " lies inside " + folder.string() + "; keep the private key apart from it";
    }
    for (fs::path dir = full.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        if (fs::exists(dir / ".git", error))
            return path.string() + " lies inside the git work tree " + dir.string() +
                   "; keep the private key out of every repository";
        if (dir == dir.root_path())
            break;
    }
    return {};
}

std::string MakeSigningKey(const fs::path& path, SigningKey& key) {
    if (sodium_init() < 0)
        return "cannot start libsodium";
    crypto_sign_ed25519_keypair(key.publicKey.data(), key.secret.data());
    const std::string line = Hex(key.secret.data(), key.secret.size()) + "\n";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return "cannot make " + path.string() + ": " + std::strerror(errno) + " (an existing key is never replaced)";
    // fchmod as well: the process's umask must not matter.
    const bool written = ::fchmod(fd, 0600) == 0 &&
                         ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
                         ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    sodium_memzero(const_cast<char*>(line.data()), line.size());
    if (!written || !closed) {
        ::unlink(path.c_str());
        return "cannot write " + path.string();
    }
    return {};
}

std::string ReadSigningKey(const fs::path& path, SigningKey& key) {
    if (sodium_init() < 0)
        return "cannot start libsodium";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return "cannot open the private key " + path.string() + ": " + std::strerror(errno);
    struct stat status {};
    char text[130] = {};
    const bool usable = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
    const ssize_t got = usable ? ::read(fd, text, sizeof text) : -1;
    ::close(fd);
    if (!usable)
        return path.string() + " is not a plain file";
    if (status.st_mode & 077)
        return "the private key " + path.string() + " may be read or written by others; chmod 600 it";
    size_t length = 0;
    const bool parsed = got >= 128 && sodium_hex2bin(key.secret.data(), key.secret.size(), text, 128, nullptr,
                                                     &length, nullptr) == 0 && length == key.secret.size() &&
                        (got == 128 || (text[128] == '\n' && got == 129));
    sodium_memzero(text, sizeof text);
    if (!parsed)
        return path.string() + " is not a private key made by keygen";
    SigningKey derived;
    crypto_sign_ed25519_seed_keypair(derived.publicKey.data(), derived.secret.data(), key.secret.data());
    const bool matches = sodium_memcmp(derived.secret.data(), key.secret.data(), key.secret.size()) == 0;
    sodium_memzero(derived.secret.data(), derived.secret.size());
    if (!matches)
        return path.string() + " is damaged: its public half does not belong to its seed";
    crypto_sign_ed25519_sk_to_pk(key.publicKey.data(), key.secret.data());
    return {};
}

std::string PublicKeyHex(const SigningKey& key) { return Hex(key.publicKey.data(), key.publicKey.size()); }

std::string SignatureFile(const std::string& bytes, const std::vector<SigningKey>& keys) {
    std::string file;
    for (const SigningKey& key : keys) {
        uint8_t signature[crypto_sign_ed25519_BYTES];
        crypto_sign_ed25519_detached(signature, nullptr, reinterpret_cast<const unsigned char*>(bytes.data()),
                                     bytes.size(), key.secret.data());
        file += Hex(signature, sizeof signature) + "\n";
    }
    return file;
}

}  // namespace server
