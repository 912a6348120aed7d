! Host program in Fortran: opens, writes, closes and deletes its files through the
! exported file routines, passing blank-padded CHARACTER texts of 80 and 20 characters.
program diwrite_host
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_char
  implicit none

  interface
    subroutine dll_opntldbf(iunit, imode, fname, istat, iform, iacces, irecl, iostat) &
        bind(C, name="dll_opntldbf")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: iunit, imode, istat, iform, iacces, irecl
      character(kind=c_char), dimension(80), intent(in) :: fname
      integer(c_int32_t), intent(out) :: iostat
    end subroutine
    subroutine dll_clstldbf(iunit, iostat) bind(C, name="dll_clstldbf")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: iunit
      integer(c_int32_t), intent(out) :: iostat
    end subroutine
    subroutine dll_kvclose(iunit) bind(C, name="dll_kvclose")
      import :: c_int32_t
      integer(c_int32_t), intent(in) :: iunit
    end subroutine
    subroutine dll_wrttllog(iunit, imode, istep, isub, typtxt) bind(C, name="dll_wrttllog")
      import :: c_int32_t, c_char
      integer(c_int32_t), intent(in) :: iunit, imode, istep, isub
      character(kind=c_char), dimension(20), intent(in) :: typtxt
    end subroutine
  end interface

  integer :: failures = 0
  integer(c_int32_t) :: iostat
  character(len=80) :: logname, tmpname
  character(len=20) :: typtxt
  character(len=100) :: line
  logical :: there
  integer :: ios

  logname = 'diwrite_fhost.log'
  tmpname = 'diwrite_fhost.tmp'

  ! Mode 2, formatted: a new, empty log.
  call dll_opntldbf(40_c_int32_t, 2_c_int32_t, chars80(logname), 1_c_int32_t, 2_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'open log')
  ! Two scratch temporary streams; a file that must exist and does not.
  call dll_opntldbf(41_c_int32_t, 0_c_int32_t, chars80(' '), 2_c_int32_t, 1_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'scratch 1')
  call dll_opntldbf(42_c_int32_t, 0_c_int32_t, chars80(' '), 2_c_int32_t, 1_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'scratch 2')
  call dll_opntldbf(43_c_int32_t, 4_c_int32_t, chars80('diwrite_fhost_missing.dat'), &
                    1_c_int32_t, 1_c_int32_t, 1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 1, 'missing file answers 1')

  typtxt = 'STATIC'
  call dll_wrttllog(40_c_int32_t, 3_c_int32_t, 5_c_int32_t, 2_c_int32_t, chars20(typtxt))
  call dll_wrttllog(40_c_int32_t, -7_c_int32_t, 0_c_int32_t, 0_c_int32_t, chars20(typtxt))
  call dll_wrttllog(40_c_int32_t, 0_c_int32_t, 0_c_int32_t, 0_c_int32_t, chars20(typtxt))
  call dll_clstldbf(40_c_int32_t, iostat)
  call check(iostat == 0, 'close log')

  open(unit=10, file=trim(logname), status='old', action='read', iostat=ios)
  call check(ios == 0, 'reopen log')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == &
      ' PROCESSING LOAD STEP      5, SUB-STEP      2, TYPE STATIC', 'load step line')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == ' ERROR      7 FOUND', 'error line')
  read(10, '(A)', iostat=ios) line
  call check(ios /= 0, 'nothing more')
  close(10, status='delete')

  call dll_clstldbf(41_c_int32_t, iostat)
  call check(iostat == 0, 'close scratch')
  call dll_kvclose(42_c_int32_t)

  call dll_opntldbf(44_c_int32_t, 0_c_int32_t, chars80(tmpname), 1_c_int32_t, 1_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'open named stream')
  inquire(file=trim(tmpname), exist=there)
  call check(there, 'named stream made')
  call dll_kvclose(44_c_int32_t)
  inquire(file=trim(tmpname), exist=there)
  call check(.not. there, 'kvclose deletes')

  if (failures /= 0) then
    print '(I0,A)', failures, ' failed'
    stop 1
  end if
  print '(A)', 'all passed'

contains

  function chars80(s) result(c)
    character(len=*), intent(in) :: s
    character(kind=c_char), dimension(80) :: c
    character(len=80) :: padded
    integer :: k
    padded = s
    do k = 1, 80
      c(k) = padded(k:k)
    end do
  end function

  function chars20(s) result(c)
    character(len=*), intent(in) :: s
    character(kind=c_char), dimension(20) :: c
    character(len=20) :: padded
    integer :: k
    padded = s
    do k = 1, 20
      c(k) = padded(k:k)
    end do
  end function

  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(len=*), intent(in) :: what
    if (.not. ok) then
      failures = failures + 1
      print '(2A)', 'FAILED ', what
    end if
  end subroutine

end program diwrite_host
