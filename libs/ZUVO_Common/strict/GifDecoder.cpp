// CGifDecoder of the strict flavour. The program constructs a decoder for a label, unloads it
// when the label's picture is replaced and destroys it; it never decodes through it. So this
// one holds no picture at all: a program that relied on our normal decoder's decoding would
// find nothing here.
#include "ZUVO_CommonCore.h"

CGifDecoder::CGifDecoder() : m_impl(nullptr) {}

CGifDecoder::~CGifDecoder() = default;

void CGifDecoder::Unload() {
    m_impl = nullptr;
}
