// The OpenGL device with the viewer's default render states installed as the
// program's device, a camera, and a scratch directory for models.
#pragma once
#include "device_fixture.h"
#include "gfxutil/d3dx_math.h"
#include "graphics/device_setup.h"
#include "scene/lighting.h"
#include "scratch_directory.h"
#include "state_names.h"

class MeshRenderTest : public DeviceRenderTest {
 protected:
  void SetUp() override {
    DeviceRenderTest::SetUp();
    d3dDevice = device;
    nightMode = 0;
    SetDefaultStates(device, D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL);
  }
  void TearDown() override {
    nightMode = 0;
    d3dDevice = nullptr;
    DeviceRenderTest::TearDown();
  }

  // Looks from eye at the origin with a 45-degree vertical field of view.
  void LookFrom(const D3DXVECTOR3& eye, float aspect) {
    D3DXMATRIX view, projection;
    D3DXVECTOR3 at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, aspect, 0.1f, 2000.0f);
    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &projection);
  }

  ScratchDirectory scratch;
};
