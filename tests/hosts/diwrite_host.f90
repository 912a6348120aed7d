! Host program in Fortran: opens, writes, closes and deletes its files through the
! exported file routines, passing blank-padded CHARACTER texts of 80 and 20 characters;
! then starts the writing road on a message file and two scratch temporary units, opens
! a model and its coordinates, and reads the message file back.
program diwrite_host
  use kvr7dbio
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_char, c_float
  implicit none

  integer :: failures = 0
  integer(c_int32_t) :: iostat
  character(len=80) :: logname, tmpname
  character(len=20) :: typtxt
  character(len=100) :: line
  logical :: there
  integer :: ios
  integer(c_int32_t) :: ierr, opened, arg1, arg5
  integer(c_int32_t), dimension(2) :: units
  character(kind=c_char), dimension(6) :: text6
  character(kind=c_char), dimension(79) :: text79
  character(len=20) :: msgname

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

  ! The writing road: LUOPT 2, number format 10, messages on unit 45.
  msgname = 'diwrite_fhost.msg'
  units = [46_c_int32_t, 47_c_int32_t]
  call dll_opntldbf(45_c_int32_t, 2_c_int32_t, chars80(msgname), 1_c_int32_t, 2_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'open message file')
  call dll_opntldbf(units(1), 0_c_int32_t, chars80(' '), 2_c_int32_t, 1_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'scratch temporary unit 1')
  call dll_opntldbf(units(2), 0_c_int32_t, chars80(' '), 2_c_int32_t, 1_c_int32_t, &
                    1_c_int32_t, 0_c_int32_t, iostat)
  call check(iostat == 0, 'scratch temporary unit 2')
  call dll_diini2(2_c_int32_t, 0_c_int32_t, 0_c_int32_t, 48_c_int32_t, units, 2_c_int32_t, &
                  0_c_int32_t, 10_c_int32_t, 45_c_int32_t, 99_c_int32_t, 2040_c_int32_t, ierr)
  call check(ierr == 0, 'dll_diini2')
  arg1 = 0
  arg5 = 0
  text6 = 'X'
  text79 = ' '
  call dll_didbi(arg1, opened, text6, text79, arg5, ierr)
  call check(ierr == 0 .and. opened == 1 .and. all(text6 == 'X'), 'dll_didbi')
  call dll_dihed2(1_c_int32_t, 1_c_int32_t, chars20('beam'), 1.5_c_float, 7_c_int32_t, &
                  chars20('Mixed Case'), 3_c_int32_t, chars10('abc'), ierr, units(1))
  call check(ierr == 0, 'model header')
  call dll_dihed2(2_c_int32_t, 1_c_int32_t, chars20(' '), 0.0_c_float, 0_c_int32_t, &
                  chars20(' '), 0_c_int32_t, chars10(' '), ierr, units(2))
  call check(ierr == 0, 'coordinates header')
  call dll_dihed2(3_c_int32_t, 1_c_int32_t, chars20(' '), 0.0_c_float, 0_c_int32_t, &
                  chars20(' '), 0_c_int32_t, chars10(' '), ierr, units(2))
  call check(ierr == 111, 'a second dataset on the same unit')
  call dll_wrttllog(45_c_int32_t, 2_c_int32_t, 0_c_int32_t, 0_c_int32_t, chars20(' '))
  call dll_clstldbf(45_c_int32_t, iostat)
  call check(iostat == 0, 'close message file')

  open(unit=10, file=trim(msgname), status='old', action='read', iostat=ios)
  call check(ios == 0, 'reopen message file')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == &
      ' DI    : DIINI : DATABASE INTERFACE ROUTINES VERSION 1.402B         :', 'banner')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == &
      ' DI    :       : I10, E12.5 FORMAT NEUTRAL FILE OPTION CHOSEN       :', 'format line')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == ' DI    : DIHED2: MODEL OPENED TO CREATE' // &
      '                             : (BEAM                )', 'model line')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == ' DI111 : DIHED2: A MODEL DATASET IS STILL ACTIVE ON UNIT' // &
      ' (IUNT)     : (      47            )', 'line of 111')
  read(10, '(A)', iostat=ios) line
  call check(ios == 0 .and. line == ' PROCESSING MESH DATA', 'mesh line')
  read(10, '(A)', iostat=ios) line
  call check(ios /= 0, 'nothing more')
  close(10, status='delete')
  call dll_kvclose(units(1))
  call dll_kvclose(units(2))

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

  function chars10(s) result(c)
    character(len=*), intent(in) :: s
    character(kind=c_char), dimension(10) :: c
    character(len=10) :: padded
    integer :: k
    padded = s
    do k = 1, 10
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
