#pragma once

#include <QString>

#include <zip.h>

namespace store {

// The libzip functions the archive calls, in one list: the table below holds a pointer to each.
#define REZOZUR_FUNCOES_DO_ZIP(X)                                                                        \
    X(zip_close) X(zip_compression_method_supported) X(zip_discard) X(zip_encryption_method_supported)  \
    X(zip_error_code_system) X(zip_error_code_zip) X(zip_error_fini) X(zip_error_init)                  \
    X(zip_error_init_with_code) X(zip_error_set) X(zip_error_strerror) X(zip_error_to_data)             \
    X(zip_fclose) X(zip_file_add) X(zip_file_attributes_init) X(zip_file_get_error)                     \
    X(zip_file_set_encryption) X(zip_fopen_index) X(zip_fread) X(zip_get_error) X(zip_get_name)         \
    X(zip_get_num_entries) X(zip_open) X(zip_set_default_password) X(zip_set_file_compression)          \
    X(zip_source_free) X(zip_source_function) X(zip_source_make_command_bitmap) X(zip_stat_index)       \
    X(zip_stat_init)

// libzip is opened only when something needs it (saving, or an archive our own reader does not take),
// so that opening a project does not map it, nor libcrypto, bz2 and zstd behind it, into the process.
struct FuncoesDoZip {
#define REZOZUR_PONTEIRO_DO_ZIP(f) decltype(&::f) f = nullptr;
    REZOZUR_FUNCOES_DO_ZIP(REZOZUR_PONTEIRO_DO_ZIP)
#undef REZOZUR_PONTEIRO_DO_ZIP
};

// Loads libzip the first time (from any thread; later calls return the same answer). nullptr when it
// cannot be loaded, with the loader's own words in `erro`.
const FuncoesDoZip* CarregaZip(QString* erro = nullptr);

// The table after a CarregaZip that succeeded.
const FuncoesDoZip& Zip();

} // namespace store
