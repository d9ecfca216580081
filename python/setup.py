"""Builds the compiled module with CMake from this repository's sources.

The module is a small pybind11 extension linked statically against the library's core, so the
installed package is self-contained: importing it never looks for a shared library elsewhere.
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

HERE = Path(__file__).resolve().parent
REPOSITORY = HERE.parent


class CMakeExtension(Extension):
    def __init__(self, name: str) -> None:
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext: Extension) -> None:
        if not (REPOSITORY / "include" / "ecc200.h").is_file():
            raise RuntimeError(
                f"the ecc200 sources are not beside {HERE}: build the package from a checkout "
                "of the repository (pip install ./python)"
            )
        build_dir = Path(self.build_temp).resolve() / "cmake"
        build_type = "Debug" if self.debug else "Release"
        subprocess.run(
            [
                "cmake", "-S", str(HERE), "-B", str(build_dir),
                f"-DCMAKE_BUILD_TYPE={build_type}",
                f"-DPython3_EXECUTABLE={sys.executable}",
                f"-DCMAKE_LIBRARY_OUTPUT_DIRECTORY={build_dir / 'out'}",
            ],
            check=True,
        )
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", "2")
        subprocess.run(
            ["cmake", "--build", str(build_dir), "--target", "_native", "-j", jobs],
            check=True,
        )
        built = next((build_dir / "out").glob("_native*.so"))
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built, target)


setup(
    ext_modules=[CMakeExtension("ecc200._native")],
    cmdclass={"build_ext": CMakeBuild},
)
