#include "platform/d3d8/D3D8Types.h"

namespace d3d8 {

const char* RenderStateName(uint32_t state) {
    switch (static_cast<RenderState>(state)) {
        case RenderState::ZEnable:
            return "ZENABLE";
        case RenderState::FillMode:
            return "FILLMODE";
        case RenderState::ShadeMode:
            return "SHADEMODE";
        case RenderState::ZWriteEnable:
            return "ZWRITEENABLE";
        case RenderState::AlphaTestEnable:
            return "ALPHATESTENABLE";
        case RenderState::LastPixel:
            return "LASTPIXEL";
        case RenderState::SrcBlend:
            return "SRCBLEND";
        case RenderState::DestBlend:
            return "DESTBLEND";
        case RenderState::CullMode:
            return "CULLMODE";
        case RenderState::ZFunc:
            return "ZFUNC";
        case RenderState::AlphaRef:
            return "ALPHAREF";
        case RenderState::AlphaFunc:
            return "ALPHAFUNC";
        case RenderState::DitherEnable:
            return "DITHERENABLE";
        case RenderState::AlphaBlendEnable:
            return "ALPHABLENDENABLE";
        case RenderState::FogEnable:
            return "FOGENABLE";
        case RenderState::SpecularEnable:
            return "SPECULARENABLE";
        case RenderState::Lighting:
            return "LIGHTING";
        case RenderState::ColorVertex:
            return "COLORVERTEX";
        case RenderState::LocalViewer:
            return "LOCALVIEWER";
        case RenderState::BlendOp:
            return "BLENDOP";
    }
    return nullptr;
}

const char* StageStateName(uint32_t state) {
    switch (static_cast<StageState>(state)) {
        case StageState::ColorOp:
            return "COLOROP";
        case StageState::ColorArg1:
            return "COLORARG1";
        case StageState::ColorArg2:
            return "COLORARG2";
        case StageState::AlphaOp:
            return "ALPHAOP";
        case StageState::AlphaArg1:
            return "ALPHAARG1";
        case StageState::AlphaArg2:
            return "ALPHAARG2";
        case StageState::AddressU:
            return "ADDRESSU";
        case StageState::AddressV:
            return "ADDRESSV";
        case StageState::MagFilter:
            return "MAGFILTER";
        case StageState::MinFilter:
            return "MINFILTER";
        case StageState::MipFilter:
            return "MIPFILTER";
    }
    return nullptr;
}

}  // namespace d3d8
