# The LZMA decoder and the x86 branch converter that unpack the installer's
# payload, from the LZMA SDK in Debian's 7zip source (unpacked into .deps/ by
# scripts/bootstrap). Two C files, compiled here with the project's
# toolchain: the target ombrel::lzma.
#
# The SDK's one-call decoder writes straight into the output block, which is
# its own dictionary: besides the output it allocates only its probability
# tables (about 16 KB). Z7_LZMA_SIZE_OPT picks the SDK's smaller decoding loop.
include_guard(GLOBAL)

include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
ombrel_debian_source(OMBREL_LZMA_SOURCE 7zip C/LzmaDec.c)

add_library(ombrel_lzma STATIC ${OMBREL_LZMA_SOURCE}/LzmaDec.c ${OMBREL_LZMA_SOURCE}/Bra86.c)
target_include_directories(ombrel_lzma SYSTEM PUBLIC ${OMBREL_LZMA_SOURCE})
target_compile_definitions(ombrel_lzma PRIVATE Z7_LZMA_SIZE_OPT)
# Third-party code: its own warnings are not the project's errors.
target_compile_options(ombrel_lzma PRIVATE -w $<$<BOOL:${OMBREL_RELEASE}>:-flto>)
set_target_properties(ombrel_lzma PROPERTIES UNITY_BUILD OFF)
add_library(ombrel::lzma ALIAS ombrel_lzma)
